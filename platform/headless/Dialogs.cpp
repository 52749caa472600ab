// The dialogs without a screen: each is recorded, and answered as the test said.
#include "platform/forms/Dialogs.h"
#include "platform/headless/Headless.h"

TModalResult MessageDlg(const std::string& text, const std::string&, TMsgDlgButtons, TMsgDlgType)
{
    auto& recorder = headless::Recorder();
    recorder.dialogs.push_back(text);
    if (recorder.messageAnswers.empty())
        return mrCancel;
    const TModalResult answer = recorder.messageAnswers.front();
    recorder.messageAnswers.pop_front();
    return answer;
}

int ChoiceDlg(const std::string& text, const std::string&, const std::vector<std::string>&, TMsgDlgType)
{
    auto& recorder = headless::Recorder();
    recorder.dialogs.push_back(text);
    if (recorder.choiceAnswers.empty())
        return -1;
    const int answer = recorder.choiceAnswers.front();
    recorder.choiceAnswers.pop_front();
    return answer;
}

std::optional<std::vector<bool>> ChooseEachDlg(const TEachChoice& choice, std::vector<bool> chosen)
{
    auto& recorder = headless::Recorder();
    recorder.dialogs.push_back(choice.text);
    chosen.resize(choice.rows.size());
    std::vector<std::string>& shown = recorder.eachShown.emplace_back();
    for (std::size_t row = 0; row < choice.rows.size(); ++row)
        shown.push_back(choice.Shown(row, chosen[row]));
    if (recorder.eachAnswers.empty())
        return std::nullopt;
    const auto answer = std::move(recorder.eachAnswers.front());
    recorder.eachAnswers.pop_front();
    return answer(std::move(chosen));
}

namespace {

std::optional<std::string> FileAnswer(const std::string& title, std::deque<std::optional<std::string>>& answers)
{
    headless::Recorder().dialogs.push_back(title);
    if (answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

std::optional<std::string> PromptForSaveFileName(const std::string& title, const std::string&, const std::string&,
                                                 const std::string&)
{
    return FileAnswer(title, headless::Recorder().saveAnswers);
}

std::optional<std::string> PromptForOpenFileName(const std::string& title, const std::string&, const std::string&)
{
    return FileAnswer(title, headless::Recorder().openAnswers);
}
