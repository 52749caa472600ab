// The status board window.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/forms/Forms.h"

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

    // The PCs: every label but the two fixed ones.
    bool IsItem(const TControl& control) const override;
    // A PC without a caption is named after its section; a PC says what the status field
    // shows for it.
    std::string AccessibleName(const TControl& control) const override;
    std::string AccessibleStatus(const TControl& control) const override;

private:
    void LabelClick(TObject* sender);
    void LoadBoard();

    // Only the PCs without a caption, with their numbers.
    std::unordered_map<const TControl*, std::int32_t> uncaptioned_;
};

extern TForm1* Form1;

// The PC label clicked last, or none yet. Not owned: the form owns every label.
extern TLabel* SelectedLabel;
