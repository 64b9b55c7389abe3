#pragma once

class QWidget;

// Lets the window system map and expose a window that has just been shown, for at most LimitMs milliseconds, and
// paints it then. Under a window manager a window is mapped some time after show(); what is painted before that
// never reaches the screen.
void PaintWhenExposed(QWidget *Window, int LimitMs);

// Shows the window maximized and keeps it so when its native window is made anew: the web views re-create the
// top-level window after it is first shown, and a window manager takes the new one for an unmaximized window.
void ShowMaximizedToStay(QWidget *Window);
