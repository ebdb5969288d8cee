#pragma once
// What the four dialogs share in their look: sizes in dialog units (a quarter
// of the average character width, an eighth of the line height of the
// widget's font), so they keep their proportions whatever the theme's font
// and the screen's scale, and the program's icon in their title bar.

class QDialog;
class QHBoxLayout;
class QWidget;

int DialogUnitsX(const QWidget& widget, int units);
int DialogUnitsY(const QWidget& widget, int units);

// The large program icon, as the main window shows it.
void SetDialogIcon(QWidget& dialog);

// Where a dialog's Accept and Cancel buttons stand, in dialog units.
struct ButtonRowUnits {
    int acceptWidth;
    int acceptHeight;
    int cancelWidth;
    int gap;       // between the two buttons
    bool centred;  // false: both at the right edge
};

// Accept (the default button, so also Enter) and Cancel, wired to the
// dialog's accept() and reject(). Cancel stands level with the foot of the
// taller Accept; Enter never reaches it.
QHBoxLayout* MakeAcceptCancelRow(QDialog& dialog, const char* acceptId, const char* cancelId,
                                 const ButtonRowUnits& units);
