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
#include "settings/EncodeOptions.h"
#include "settings/Settings.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ResetToDefaults(); }
    static void ResetToDefaults()
    {
        static int argc = 1;
        static char name[] = "ui_dialogs_test";
        static char* argv[] = {name, nullptr};
        [[maybe_unused]] static QApplication* const app = new QApplication(argc, argv);
        [[maybe_unused]] static const bool resources_loaded = (InitGuiResources(), true);
        CurrentSettings() = Settings{};
        ApplySettingsToJobs(CurrentSettings());
        VBRSliderPos() = CurrentSettings().VBRQuality;
    }
};

template <class Control = QWidget>
Control& Child(QWidget& dialog, const char* name)
{
    if (Control* found = dialog.findChild<Control*>(name)) return *found;
    throw std::runtime_error(std::string("no control named ") + name);
}

inline void Click(QWidget& dialog, const char* name) { Child<QAbstractButton>(dialog, name).click(); }
inline bool Checked(QWidget& dialog, const char* name) { return Child<QAbstractButton>(dialog, name).isChecked(); }

// Typed key by key, so the box's own rules run as they do for a user.
inline void RetypeText(QLineEdit& box, const QString& text)
{
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, text);
}

// The next file's encode job must see every stored choice at once.
inline void ExpectJobCopyMatchesSettings()
{
    const Settings& s = CurrentSettings();
    const EncodeOptions o = SnapshotEncodeOptions();
    EXPECT_EQ(std::tie(o.SetBitrate, o.Mono, o.SetCBR, o.ABRBitrate, o.CBRBitrate, o.TagMode, o.AutoTag, o.id3Tag,
                       o.ScaleMode, o.Title, o.Artist, o.Album, o.Year, o.Genre),
              std::tie(s.SetBitrate, s.Mono, s.SetCBR, s.ABRBitrate, s.CBRBitrate, s.TagMode, s.AutoTag, s.id3Tag,
                       s.ScaleMode, s.Title, s.Artist, s.Album, s.Year, s.Genre));
    EXPECT_EQ(std::make_tuple(o.Quality, o.VBRQuality),
              std::make_tuple(MapEngineQuality(s.Quality), static_cast<float>(s.VBRQuality)));
}
