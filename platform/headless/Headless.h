// The headless backend keeps no screen; it records what a screen would have been asked to
// do, so that tests can look.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/Dialogs.h"
#include "platform/geometry/Graphics.h"

class TForm;
class TTimer;

namespace headless {

struct TRecorder {
    std::vector<std::string> messages;   // error boxes shown, in order
    int loopRuns = 0;                    // event loops entered
    std::vector<TRect64> invalidated;    // areas marked for repainting while shown
    int updates = 0;                     // immediate repaints asked for while shown
    std::string exeName;                 // GetExeName's answer; empty: the real one
    std::function<void(TForm&)> onLoop;  // run inside the event loop, as if a user acted
    TForm* focused = nullptr;            // the form whose window took the keyboard last
    int menuChanges = 0;                 // times a form's window was told its menu changed
    std::vector<TForm*> closed;          // forms closed by the program, in order
    // Dialogs: what each asked (its text, or a file dialog's title), and the answers a test
    // gives, taken in order; with none left, a box is cancelled, and so is a file dialog. A box
    // with named buttons is answered with a button's place, and -1 is closing it.
    std::vector<std::string> dialogs;
    std::deque<TModalResult> messageAnswers;
    std::deque<int> choiceAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    // A list of choices: its rows as shown at first, and each answer a test gives from them
    // (nothing: cancelled, as with no answer left).
    std::vector<std::vector<std::string>> eachShown;
    std::deque<std::function<std::optional<std::vector<bool>>(std::vector<bool>)>> eachAnswers;
    std::vector<TTimer*> timers;  // running, in the order started; a test ticks them
};

TRecorder& Recorder();
// Forgets everything recorded and every setting.
void Reset();

}  // namespace headless
