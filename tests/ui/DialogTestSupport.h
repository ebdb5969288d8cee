#pragma once
// Every dialog test starts from what a first start without an INI file gives.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <stdexcept>
#include <string>
#include <tuple>

#include "app/GuiResources.h"
#include "app/Translations.h"
#include "ui/DialogLook.h"
#include "settings/Settings.h"

// The number a choice stands for in the INI file.
template <class Choice>
int32_t Stored(Choice value) { return static_cast<int32_t>(value); }

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ResetToDefaults(); }
    // What the dialogs edit: the window's record and its slider position.
    Settings settings;
    int32_t slider = Settings{}.VBRQuality;

    void ResetToDefaults()
    {
        static int argc = 1;
        static char* argv[] = {const_cast<char*>("ui_dialogs_test"), nullptr};
        // The translated run sets LANGUAGE; the dialogs must store the same values in any language.
        [[maybe_unused]] static QApplication* const app = [] {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            auto* application = new QApplication(argc, argv);
            InstallTranslations(*application);
            return application;
        }();
        [[maybe_unused]] static const bool resources_loaded = (InitGuiResources(), true);
        settings = Settings{};
        slider = settings.VBRQuality;
    }
};

template <class Control = QWidget>
Control& Child(QWidget& dialog, const char* name)
{
    if (Control* found = dialog.findChild<Control*>(name)) return *found;
    throw std::runtime_error(std::string("no control named ") + name);
}

inline void Click(QWidget& dialog, const char* name) { Child<QAbstractButton>(dialog, name).click(); }

// Typed key by key, so the box's own rules run as they do for a user.
inline void RetypeText(QLineEdit& box, const QString& text) { box.clear(); QTest::keyClicks(&box, text); }
