object Form1: TForm1
  object Button1: TLabel
    OnClick = NoSuchMethod
  end
  object Button1: TButton
  end
end
