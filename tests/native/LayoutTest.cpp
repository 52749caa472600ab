#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/design/FormDesign.h"
#include "platform/forms/Forms.h"
#include "platform/forms/LayoutBinding.h"

namespace {

class LayoutForm : public TForm {
public:
    TButton* Button1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    int clicks = 0;

    explicit LayoutForm(const std::string& layout) : TForm(nullptr)
    {
        LoadLayout(
            *this, layout,
            {"TLayoutForm",
             {PublishedField("Button1", Button1), PublishedField("Label1", Label1), PublishedField("Edit1", Edit1)},
             {{"Button1Click", [this](TObject*) { ++clicks; }}}});
    }
};

const std::string kGood = R"(object Form1: TLayoutForm
  Caption = 'It''s'
  Left = -5
  Top = 7
  Width = 300
  Height = 200
  Color = clWhite
  Font.Charset = CHINESEBIG5_CHARSET
  Font.Color = clRed
  Font.Height = -13
  Font.Name = 'PMingLiU'
  object Label1: TLabel
    Left = 1
    Top = 2
    Width = 3
    Height = 4
    Color = clYellow
    Caption = '名稱：'
  end
  object Button1: TButton
    TabOrder = 3
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Text = 'edit'
    TabOrder = 1
  end
end
)";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string ErrorOf(const std::string& layout)
{
    try {
        LayoutForm form(layout);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

TEST(Layout, BindsFieldsPropertiesAndHandlersByName)
{
    std::string crlf = "\r\n  \r\n";  // Windows line ends and blank lines, leading ones too, read the same
    for (char c : kGood)
        crlf += c == '\n' ? std::string("\r\n\r\n") : std::string(1, c);
    LayoutForm form(crlf);
    ASSERT_NE(form.Button1, nullptr);
    ASSERT_NE(form.Label1, nullptr);
    EXPECT_EQ(form.Caption(), "It's");
    EXPECT_EQ(TRect64::Of(form.Left(), form.Top(), form.Width(), form.Height()), TRect64::Of(-5, 7, 300, 200));
    EXPECT_EQ(form.Color(), clWhite);
    const TFont& font = form.Font();
    EXPECT_EQ(std::tie(font.Name, font.Height, font.Color, font.Charset),
              std::make_tuple(std::string("PMingLiU"), -13, clRed, 136));
    EXPECT_EQ(form.Label1->Caption(), "名稱：");
    EXPECT_EQ(form.Label1->BoundsRect(), TRect64::Of(1, 2, 3, 4));
    EXPECT_EQ(form.Label1->Color(), clYellow);
    EXPECT_EQ(form.Button1->TabOrder(), 3);
    EXPECT_EQ(form.Edit1->Text(), "edit");
    EXPECT_EQ(form.Edit1->TabOrder(), 1);
    EXPECT_TRUE(form.Label1->IsWindowless());
    EXPECT_EQ(form.Button1->NativeKind(), TNativeKind::Button);
    EXPECT_EQ(form.Edit1->NativeKind(), TNativeKind::Edit);
    for (const TControlDesign& c : ReadFormDesign(kGood).controls)  // as the checker reads them
        EXPECT_EQ(c.IsNative(), c.className != "TLabel") << c.name;
    form.Button1->Click();
    EXPECT_EQ(form.clicks, 1);
    form.Label1->Click();  // no handler bound: nothing happens
    EXPECT_EQ(form.clicks, 1);
}

TEST(Layout, BadLayoutsFailWithAClearMessage)
{
    struct Case {
        std::string layout, expected;
    };
    const Case cases[] = {
        {Replace(kGood, "object Label1", "object Label9"), "line 12: the form has no field named Label9"},
        {Replace(kGood, "Top = 2", "Top = 2\n    Top = 3"), "line 15: Label1 has Top twice"},
        {Replace(kGood, "Top = 7", "Top = 7\n  Top = 8"), "line 5: Form1 has Top twice"},
        {Replace(kGood, "Color = clWhite", "Color = clPlaid"), "line 7: Color has an unknown value"},
        {Replace(kGood, "CHINESEBIG5_CHARSET", "KLINGON_CHARSET"), "Font.Charset has an unknown value"},
        {Replace(kGood, "Caption = '名稱：'", "Caption = '名稱：'\n    object Inner: TLabel\n    end"),
         "Label1 cannot hold other objects"},
        {Replace(kGood, "Left = -5", "PixelsPerInch = 120"), "designed at 96 pixels per inch"},
        {Replace(kGood, "object Button1", "object Label1: TLabel\n  end\n  object Button1"), "Label1 appears twice"},
        {Replace(kGood, "Label1: TLabel", "Label1: TMemo"), "unknown class TMemo"},
        {Replace(kGood, "= Button1Click", "= Button2Click"), "line 22: the form has no method named Button2Click"},
        {"\n  \r\n" + Replace(kGood, "= Button1Click", "= Button2Click"), "line 24: the form has no method"},
        {Replace(kGood, "= Button1Click", "= 5"), "line 22: OnClick needs a method name"},
        {Replace(kGood, "= Button1Click", "= 'Button1Click'"), "line 22: OnClick needs a method name"},
        {Replace(kGood, "TabOrder = 3", "Text = 'b'"), "line 21: Button1 has no property Text"},
        {Replace(kGood, "Text = 'edit'", "Caption = 'edit'"), "line 25: Edit1 has no property Caption"},
        {Replace(kGood, "Caption = '名稱：'", "Text = 'x'"), "line 18: Label1 has no property Text"},
        {Replace(kGood, "Color = clYellow", "TabOrder = 2"), "line 17: Label1 has no property TabOrder"},
        {Replace(kGood, "Label1: TLabel", "Label1: TButton"), "field Label1 cannot hold a TButton"},
        {Replace(kGood, "TabOrder = 3", "TabOrder = 'x'"), "TabOrder needs a number"},
        {Replace(kGood, "TLayoutForm", "TOtherForm"), "layout is for TOtherForm, not TLayoutForm"},
        {Replace(kGood, "  object Button1: TButton\n    TabOrder = 3\n    OnClick = Button1Click\n  end\n", ""),
         "field Button1 has no object in the layout"},
        {Replace(kGood, "'It''s'", "'unterminated"), "line 2: unterminated string"},
        {Replace(kGood, "Left = -5", "Left = 99999999999"), "line 3: a value was expected"},
        {kGood.substr(0, kGood.size() - 4), "'end' is missing for object Form1"},
        {kGood + "end\n", "text after the last 'end'"},
    };
    for (const Case& c : cases) {
        const std::string message = ErrorOf(c.layout);
        EXPECT_NE(message.find(c.expected), std::string::npos) << "got: " << message;
    }
}

}  // namespace
