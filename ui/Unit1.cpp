#include "Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    LoadLayout(kUnit1Layout,
               {"TForm1",
                {PublishedField("Button1", Button1), PublishedField("Edit1", Edit1),
                 PublishedField("Edit2", Edit2), PublishedField("Label1", Label1),
                 PublishedField("Label2", Label2)},
                {{"Button1Click", [this](TObject* sender) { Button1Click(sender); }}}});
    LoadBoard();
}

TForm1::~TForm1() = default;

void TForm1::LoadBoard() {}

void TForm1::Button1Click(TObject*) {}

void TForm1::LabelClick(TObject*) {}
