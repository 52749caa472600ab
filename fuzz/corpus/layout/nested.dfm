object Form1: TForm1
  object Label1: TLabel
    object Inner: TLabel
    end
  end
end
