#pragma once
// What the four dialogs share in their look: sizes in dialog units (a quarter
// of the average character width, an eighth of the line height of the
// widget's font), so they keep their proportions whatever the theme's font
// and the screen's scale, and the program's icon in their title bar.

class QDialog;
class QDialogButtonBox;
class QWidget;

int DialogUnitsX(const QWidget& widget, int units);
int DialogUnitsY(const QWidget& widget, int units);

// The large program icon, as the main window shows it.
void SetDialogIcon(QWidget& dialog);

// Object names of the two buttons every settings dialog ends with.
inline constexpr const char* kAcceptButtonName = "acceptButton";
inline constexpr const char* kCancelButtonName = "cancelButton";

// "Accept" (the default button, so also Enter) and "Cancel", wired to the
// dialog's accept() and reject(); the texts are the program's own, not the
// platform's "OK".
QDialogButtonBox* CreateAcceptCancelButtons(QDialog& dialog);
