#pragma once

class QMainWindow;
class QSplitter;

// Where the main window opens: on the first start at about four fifths of
// the screen, centred; after that at the size and place it had at the last
// close, maximised if it was, with its splitter where the user left it.

/// Shows the main window at its remembered place (or the first start's).
void ShowAtRememberedPlace(QMainWindow* window, QSplitter* splitter);
/// Writes the main window's place, size, maximised state and splitter.
void RememberPlace(const QMainWindow* window, const QSplitter* splitter);
