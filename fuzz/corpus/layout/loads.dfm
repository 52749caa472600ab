object Form1: TForm1
  Left = -8
  Top = 107
  Width = 696
  Height = 480
  Caption = '電腦教室 ''A'''
  Color = clBtnFace
  Font.Charset = CHINESEBIG5_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '新細明體'
  PixelsPerInch = 96

  object Label1: TLabel
    Left = 200
    Top = 392
    Width = 42
    Height = 13
    Color = clYellow
    Caption = '名稱：'
  end
  object Button1: TButton
    Caption = '故障設定'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Text = ''
    TabOrder = 1
  end
end
