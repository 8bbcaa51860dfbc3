// The one way the viewer windows are filled: the memo's lines replaced by the lines of a file,
// then the window shown, brought forward when it is already visible.
#pragma once

#include <string>

class QPlainTextEdit;

namespace tarnix {

class Form;
class OutputView;

// A file that cannot be read throws FileOpenError; the memo then keeps its text and the
// window is not shown.
void ShowFileInViewer(Form* viewer, OutputView* memo, const std::string& path);

// A memo as the viewers have it: its initial line, a fixed-pitch font, and with `scrollBoth`
// unwrapped lines and both scroll bars. An edit pane or an output view.
QPlainTextEdit* makeViewerMemo(QPlainTextEdit* memo, const char* initialLine, bool fixedPitch, bool scrollBoth);
OutputView* makeViewerMemo(OutputView* memo, const char* initialLine, bool fixedPitch, bool scrollBoth);

}  // namespace tarnix
