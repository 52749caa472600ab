object Form1: TForm1
  Caption = 'unterminated
  Width = 2147483648
end
