// The status board window.
#pragma once

#include "platform/Forms.h"

class TForm1 : public TForm {
public:  // published, bound to the layout by name
    TButton* Button1 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    void Button1Click(TObject* sender);

public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

private:
    void LabelClick(TObject* sender);
    void LoadBoard();
};

extern TForm1* Form1;

// The PC label clicked last, or none yet. Not owned: the form owns every label.
extern TLabel* SelectedLabel;
