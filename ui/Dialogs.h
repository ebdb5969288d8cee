#pragma once
// The four modal dialogs of the popup menu. Each reads and writes the
// process-wide settings itself; the caller only opens it.

class QWidget;

void RunEncodingOptionsDialog(QWidget* owner);
void RunOutputDirectoryDialog(QWidget* owner);
void RunTaggingSetupDialog(QWidget* owner);
void RunAboutDialog(QWidget* owner);
