#pragma once
// The user's language for the window, the menu and the dialogs.

class QCoreApplication;

// Installs Qt's own translation (the file dialogs' and message boxes'
// buttons) and Quavermill's for the first language of the default locale
// (the system's, unless a test sets another) that has one. English is the
// language of the source texts; its file holds only their plural forms, and
// serves every language without a translation.
void InstallTranslations(QCoreApplication& application);
