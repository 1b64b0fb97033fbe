#pragma once
// Window state of the application's windows in the settings store: the
// window state and, for a window in normal state, its position and size in
// twips, under the section "<window name>Settings".

#include <QWidget>
#include <optional>

// Writes "State" (0 normal, 1 minimised, 2 maximised) and, for a normal
// window, "Left", "Top", "Width" and "Height". Throws Exception when the
// store cannot be written.
void SaveFormState(const QWidget& form);

// Reads the state back before the window is shown. A missing position is
// the given left and top (twips), or the window centred on its screen; width
// and height are restored only for a resizable window, the current size
// being the default. A stored maximised state is restored; a minimised one
// opens the window normally. A position that would leave the window off
// every screen centres it instead.
void LoadFormState(QWidget& form, std::optional<int> left = std::nullopt, std::optional<int> top = std::nullopt,
                   bool fixedSize = false);

// The section a window's state is stored under.
QString FormStateSection(const QWidget& form);

// Whether a window rectangle shows at least in part on one of the screens (a
// stored position may belong to a screen that is gone).
bool OnSomeScreen(const QRect& rect);
