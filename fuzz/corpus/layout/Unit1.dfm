object Form1: TForm1
  Left = 192
  Top = 107
  Width = 696
  Height = 480
  Caption = 'Form1'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  PixelsPerInch = 96
  object Label1: TLabel
    Left = 200
    Top = 392
    Width = 42
    Height = 13
    Caption = '名稱：'
  end
  object Label2: TLabel
    Left = 200
    Top = 417
    Width = 42
    Height = 13
    Caption = '狀態：'
  end
  object Button1: TButton
    Left = 72
    Top = 408
    Width = 75
    Height = 25
    Caption = '故障設定'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Left = 248
    Top = 392
    Width = 73
    Height = 21
    TabOrder = 1
  end
  object Edit2: TEdit
    Left = 248
    Top = 416
    Width = 73
    Height = 21
    TabOrder = 2
  end
end
