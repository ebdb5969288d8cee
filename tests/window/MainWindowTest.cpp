// The main window, offscreen, with its boxes and dialogs recorded instead of
// shown: drops, mouse, menu, placement, painting and the worker's end.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <future>
#include <mutex>
#include <climits>
#include <filesystem>
#include <thread>

#include "app/MainWindow.h"
#include "app/WindowPainter.h"
#include "app/WindowPlacement.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"
#include "support/Fixtures.h"

using namespace std::chrono_literals;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 0;
        if (!QApplication::instance()) new QApplication(argc, nullptr);
        settings = Settings{};
    }

    // On a 1920 x 1080 screen; the previous window must be gone.
    std::unique_ptr<MainWindow> MakeWindow(MenuDialogs dialogs = {}, std::size_t workers = 1) {
        boxes.clear();
        auto record = [this](const MessageBoxRequest& box) { boxes.emplace_back(box, QThread::currentThread()); };
        WindowServices services{&settings, QSize(1920, 1080), record, dialogs, workers, "Quavermill.log", {}, {}};
        return std::make_unique<MainWindow>(services);
    }

    // Jobs that record the mode, the path, the settings and the output folder each file gets,
    // and report `message` when it is not empty.
    BatchJobs RecordingJobs(std::string message = {}) {
        auto job = [this, message](const char* mode) {
            return [this, mode, message](const std::string& input, const Settings& given, const std::string& outputDir,
                                         const JobHooks& hooks) {
                {
                    std::lock_guard<std::mutex> hold(seenLock);
                    seen.push_back({mode, input, given, outputDir});
                }
                if (!message.empty()) ReportError(ErrorReporter{input, hooks.Report}, "%s", message.c_str());
                return JobResult::Done;
            };
        };
        return {job("encode"), job("decode")};
    }

    // Qt delivers a drop only to a widget that accepted the drag's entry.
    void DropFiles(MainWindow& window, const std::vector<std::string>& paths) {
        QMimeData data;
        for (const std::string& path : paths)
            data.setUrls(data.urls() << QUrl::fromLocalFile(QString::fromStdString(path)));
        QDragEnterEvent enter(QPoint(65, 65), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(65, 65), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QApplication::processEvents();
    }

    static bool Idle(const MainWindow& window) { return !window.Engine()->Progress().Busy; }

    struct Seen {
        std::string mode, path;
        Settings settings;
        std::string outputDir;
    };
    // One field of each file the jobs were given, in the order they started.
    std::vector<std::string> SeenAll(std::string Seen::*field) const {
        std::vector<std::string> values;
        for (const Seen& file : seen) values.push_back(file.*field);
        return values;
    }
    fixtures::TempDir folder;  // the working folder, which holds the log and the settings file
    fixtures::ScopedWorkingDir inFolder{folder.path()};
    Settings settings;
    std::mutex seenLock;
    std::vector<Seen> seen;
    std::vector<std::pair<MessageBoxRequest, QThread*>> boxes;  // with the thread that showed each
};

void SendMouse(QWidget& window, QEvent::Type type, QPointF onScreen, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(10, 20), onScreen, button, held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

TEST_F(WindowTest, DropsQueueWholePathsInOrderAndWarnOncePerUnsupportedFile) {
    // Cutting a path to 259 characters, as a fixed buffer did, names a different file.
    const std::string longPath = "/srv/" + std::string(280, 'd') + "/take.mp2";
    const struct { std::vector<std::string> dropped, queued, modes; int boxes; } rows[] = {
        {{"/docs/notes.txt", "/docs/a.wav"}, {"/docs/a.wav"}, {"encode"}, 1},
        {{"/home/user/Music"}, {}, {}, 0},
        // Each file is converted as its own type asks, whatever came before it.
        {{"/a/1.mp3", "/a/2.ogg", "/a/3.mp2", "/a/4.aif"}, {"/a/1.mp3", "/a/2.ogg", "/a/3.mp2", "/a/4.aif"},
         {"decode", "encode", "decode", "encode"}, 0},
        {{"/музыка/песня №1.flac", longPath}, {"/музыка/песня №1.flac", longPath}, {"encode", "decode"}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dropped.front().substr(0, 20));
        seen.clear();
        auto window = MakeWindow();
        window->StartConversions(RecordingJobs());
        DropFiles(*window, row.dropped);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(*window); }, 10000));
        QApplication::processEvents();  // the boxes wait their turn in the event loop
        EXPECT_EQ(SeenAll(&Seen::path), row.queued);
        EXPECT_EQ(SeenAll(&Seen::mode), row.modes);
        ASSERT_EQ(boxes.size(), std::size_t(row.boxes));
        for (const auto& [box, thread] : boxes)
            EXPECT_TRUE(box.caption == "Error" && box.text == "Unsupported input file type" &&
                        box.icon == QMessageBox::Warning);
    }
}

// Fix: a drag whose button release went elsewhere never ended, and the
// window later jumped after the mouse. Only the left button drags, and the
// right button opens the menu where it was released.
TEST_F(WindowTest, ALeftDragMovesTheWindowUntilItLosesTheMouse) {
    const struct { Qt::MouseButton pressed; QEvent::Type interruption; QPoint end; } rows[] = {
        {Qt::LeftButton, QEvent::None, {114, 94}},
        {Qt::RightButton, QEvent::None, {64, 64}},
        {Qt::LeftButton, QEvent::UngrabMouse, {64, 64}},
        {Qt::LeftButton, QEvent::WindowDeactivate, {64, 64}},
        {Qt::LeftButton, QEvent::WindowBlocked, {64, 64}},  // a modal box opened
        {Qt::LeftButton, QEvent::MouseMove, {64, 64}},      // with only another button held: released elsewhere
        {Qt::LeftButton, QEvent::MouseButtonRelease, {64, 64}},  // of the right button, which opens the menu
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.pressed << " " << row.interruption);
        settings = Settings{};
        auto window = MakeWindow();  // at 64, 64
        window->show();
        SendMouse(*window, QEvent::MouseButtonPress, {74, 84}, row.pressed, row.pressed);
        if (row.interruption == QEvent::MouseMove) {
            SendMouse(*window, QEvent::MouseMove, {80, 90}, Qt::NoButton, Qt::RightButton);
        } else if (row.interruption == QEvent::MouseButtonRelease) {
            SendMouse(*window, QEvent::MouseButtonRelease, {270, 160}, Qt::RightButton, Qt::LeftButton);
            ASSERT_TRUE(window->PopupMenu()->isVisible());
            EXPECT_EQ(window->PopupMenu()->pos(), QPoint(270, 160));
            window->PopupMenu()->hide();
        } else if (row.interruption != QEvent::None) {
            QEvent lost(row.interruption);
            QApplication::sendEvent(window.get(), &lost);
        }
        SendMouse(*window, QEvent::MouseMove, {124, 114}, Qt::NoButton, row.pressed | Qt::LeftButton);
        EXPECT_EQ(window->pos(), row.end);
        EXPECT_EQ(QPoint(settings.Window_X, settings.Window_Y), row.end);
    }
}

// Each toggle reaches the next file: the menu's value in its settings, and
// its messages in the log or in a box.
TEST_F(WindowTest, EachToggleStoresEightOrZeroKeepsItsMarkAndTakesEffect) {
    std::string dialogs;
    auto window = MakeWindow({[&](QWidget*, Settings&, int32_t&) { dialogs += 'E'; },
                              [&](QWidget*, Settings&) { dialogs += 'O'; },
                              [&](QWidget*, Settings& edited) {
                                  dialogs += 'T';
                                  edited.AutoTag = Switch{1};  // any value but 0 is on
                              },
                              [&](QWidget*) { dialogs += 'A'; }});
    const auto action = [&](const char* name) { return window->findChild<QAction*>(name); };
    window->StartConversions(RecordingJobs("a message\n"));
    window->ApplySettings();
    window->show();
    const QPoint shownAt = window->pos();
    using namespace window_actions;
    for (const char* name : {kEncodingOptions, kOutputDirectory, kAbout, kTaggingSetup}) action(name)->trigger();
    const struct { const char* action; Switch Settings::*stored; int32_t first; } rows[] = {
        {kAutoTagging, &Settings::AutoTag, 0},
        {kDeleteInput, &Settings::DeleteInput, 8},
        {kAlwaysOnTop, &Settings::AlwaysOnTop, 0},
        {kErrorsToLog, &Settings::Logerr, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        EXPECT_EQ(action(row.action)->isChecked(), row.first == 0);
        for (const int32_t value : {row.first, 8 - row.first}) {
            action(row.action)->trigger();
            EXPECT_EQ((settings.*row.stored).Stored, value);
            EXPECT_EQ(action(row.action)->isChecked(), value != 0);
            seen.clear();
            boxes.clear();
            window->QueuePaths({(folder / "x.wav").string()});
            ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(*window) && !seen.empty(); }, 10000));
            EXPECT_EQ((seen.at(0).settings.*row.stored).Stored, value);
            if (row.action == kErrorsToLog) {
                EXPECT_EQ(boxes.size(), value ? 0u : 1u);
            }
            if (row.action != kAlwaysOnTop) continue;
            EXPECT_EQ(window->IsTopmost(), value != 0);
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(window->pos(), shownAt);
        }
    }
    EXPECT_EQ(dialogs, "EOAT");
    // Logged, all but the boxed one, each as one line that starts with the file's path.
    std::string expected;
    for (int i = 0; i < 7; ++i) expected += (folder / "x.wav").string() + " : a message\n";
    EXPECT_EQ(fixtures::ReadText(folder / "Quavermill.log"), expected);
}

TEST_F(WindowTest, AFoldersFilesJoinInNaturalOrderWithTheirPlaceBelowTheOutputFolder) {
    const std::filesystem::path albums = folder / "Albums";
    for (const char* name : {"Disc 1/10 Ten.wav", "Disc 1/2 Two.flac", "Disc 1/notes.txt", "Disc 10/1.mp3",
                             "Disc 2/01.aif", "cover.wav", ".hidden/x.wav", "Disc 2/.y.wav"}) {
        std::filesystem::create_directories((albums / name).parent_path());
        fixtures::WriteText(albums / name, "x");
    }
    std::filesystem::create_directory_symlink(albums / "Disc 2", albums / "Disc 3");  // never followed
    std::filesystem::create_directories(folder / "Empty" / "sub");
    fixtures::WriteText(folder / "Empty" / "sub" / "readme.txt", "x");
    const std::filesystem::path deep = fixtures::MakeFolderPastPathMax(folder / "Deep");
    settings.OutputDir = (folder / "out").string() + "/";
    auto window = MakeWindow();
    window->StartConversions(RecordingJobs());
    // A dropped URL names the file's bytes, percent-encoded.
    window->QueueDroppedUrls({QUrl::fromEncoded("file:///nowhere/%E9t%E9%20x.wav")});
    window->QueuePaths({(albums.string() + "/"), (folder / "Empty").string(), (folder / "Deep").string()});
    // The boxes wait their turn in the event loop: a second start is answered first.
    EXPECT_TRUE(boxes.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(*window); }, 10000));
    QApplication::processEvents();
    // What the jobs are given: each file's path and its place below the output folder.
    const std::string a = albums.string(), out = (folder / "out").string();
    EXPECT_EQ(SeenAll(&Seen::path), (std::vector<std::string>{"/nowhere/\xe9t\xe9 x.wav", a + "/cover.wav",
                                                              a + "/Disc 1/2 Two.flac", a + "/Disc 1/10 Ten.wav",
                                                              a + "/Disc 2/01.aif", a + "/Disc 10/1.mp3"}));
    EXPECT_EQ(SeenAll(&Seen::outputDir), (std::vector<std::string>{out, out + "/Albums", out + "/Albums/Disc 1",
                                                                   out + "/Albums/Disc 1", out + "/Albums/Disc 2",
                                                                   out + "/Albums/Disc 10"}));
    // The empty folder (the text file inside the album is passed over), and the one it cannot enter.
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].first.text.toStdString(),
              "No audio files to convert in the folder\n" + (folder / "Empty").string());
    EXPECT_EQ(boxes[1].first.text.toStdString(), "Can't read the folder\n" + deep.string() + "\nFile name too long");
}

// Without a mouse: the shortcuts open the file dialogs (answered here) and
// queue what they return as a drop would; the menu opens from the keyboard.
TEST_F(WindowTest, TheKeyboardConvertsFilesAndOpensTheMenu) {
    std::filesystem::create_directory(folder / "album");
    fixtures::WriteText(folder / "album" / "01.wav", "");
    const struct { QKeySequence keys; std::string picker; std::vector<std::string> queued; } rows[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), "files", {"/in/a.flac", "/in/b.mp3"}},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), "folder", {(folder / "album" / "01.wav").string()}},
        {QKeySequence(Qt::SHIFT | Qt::Key_F10), "", {}},
        {QKeySequence(Qt::Key_Menu), "", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys.toString().toStdString());
        seen.clear();
        std::string asked;
        WindowServices services{&settings, QSize(1920, 1080), {}, {}, 1, "Quavermill.log", {}, {}};
        services.pickers = {[&](QWidget*) { return asked += "files", std::vector<std::string>{"/in/a.flac", "/in/b.mp3"}; },
                            [&](QWidget*) { return asked += "folder", std::vector{(folder / "album").string()}; }};
        MainWindow window(services);
        window.StartConversions(RecordingJobs());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keySequence(&window, row.keys);
        EXPECT_EQ(asked, row.picker);
        EXPECT_EQ(window.PopupMenu()->isVisible() && window.PopupMenu()->activeAction()->objectName() == "convertFilesAction",
                  row.picker.empty());
        window.PopupMenu()->hide();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(window); }, 10000));
        EXPECT_EQ(SeenAll(&Seen::path), row.queued);
    }
}

TEST_F(WindowTest, OpensClampedAndOnlyExitWritesTheStoredCorner) {
    const int clamps[][3] = {{5000, 1920, 1790}, {-40, 1920, 0}, {64, 1920, 64},       {1790, 1920, 1790},
                             {1791, 1920, 1790}, {50, 100, 0},   {INT32_MIN, 1920, 0}, {INT32_MAX, 1080, 950}};
    for (const auto& row : clamps) EXPECT_EQ(ClampWindowCoordinate(row[0], row[1]), row[2]) << row[0] << "/" << row[1];

    LoadSettingsFile(settings, "Quavermill.ini");
    const std::string asLoaded = fixtures::ReadText(folder / "Quavermill.ini");
    settings.Window_X = 5000;
    settings.Window_Y = -40;
    for (const bool exit : {false, true}) {
        auto window = MakeWindow();
        EXPECT_EQ(window->geometry(), QRect(1790, 0, 130, 130));
        QSignalSpy quit(window.get(), &MainWindow::QuitRequested);
        exit ? window->ExitSaving() : void(window->close());
        EXPECT_TRUE(quit.count() == 1 && quit[0][0] == 0);
        if (!exit) { EXPECT_EQ(fixtures::ReadText(folder / "Quavermill.ini"), asLoaded); }
    }
    const std::string saved = fixtures::ReadText(folder / "Quavermill.ini");
    EXPECT_NE(saved.find("\nWindow_X=5000\nWindow_Y=-40\n"), std::string::npos) << saved;
}

constexpr QRgb kLightGrey = 0xC0C0C0, kDarkGrey = 0x404040, kWhite = 0xFFFFFF;

bool Is(const QImage& image, int x, int y, QRgb colour) { return (image.pixel(x, y) & 0xFFFFFF) == colour; }

// The rows and width of a bar of `colour` drawn from the left edge; a width
// of -1 when its rows differ in width or it has a gap.
struct Bar {
    int top = -1, bottom = -1, width = 0;
    bool operator==(const Bar&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Bar& bar) {
    return out << "rows " << bar.top << "-" << bar.bottom << " width " << bar.width;
}
Bar FindBar(const QImage& image, QRgb colour) {
    Bar bar;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        while (run < image.width() && Is(image, run, y, colour)) ++run;
        if (run == 0) continue;
        if (bar.top < 0) bar = {y, y, run};
        else if (bar.bottom != y - 1 || bar.width != run) bar.width = -1;
        bar.bottom = y;
    }
    return bar;
}

// With several files under way, the light bar is the file that started
// first and the dark bar counts finished files plus every fraction.
TEST_F(WindowTest, PaintedBarsAndOutputPathHaveTheirWidthsRowsAndColours) {
    const QRect client(0, 0, 130, 130);
    QImage image(130, 130, QImage::Format_RGB32);
    auto paint = [&](const WindowPicture& picture) { PaintWindow(image, client, picture, QFont(), QFont()); };
    // Widths are cut, not rounded, from the fraction of 131 columns; nothing converted yet shows no bars.
    const struct { int32_t total, remaining; double first, underWay; int fileWidth, overallWidth; } rows[] = {
        {4, 2, 0.5, 0.5, 65, 81},    {1, 1, 0.0, 0.0, 0, 0},      {3, 3, 0.25, 0.25, 32, 10},
        {2, 1, 0.999, 0.999, 130, 130}, {1, 0, 1.0, 1.0, 130, 130}, {0, 0, 0.0, 0.0, 0, 0},
        {8, 5, 0.25, 1.25, 32, 69},  // three done, two under way: a quarter and a whole file
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.total << "/" << row.remaining << "/" << row.underWay);
        paint({row.total, row.remaining, row.first, row.underWay, {}, nullptr});
        EXPECT_EQ(FindBar(image, kLightGrey), (row.fileWidth ? Bar{108, 117, row.fileWidth} : Bar{}));
        EXPECT_EQ(FindBar(image, kDarkGrey), (row.overallWidth ? Bar{119, 128, row.overallWidth} : Bar{}));
    }

    // The path written over the file bar, not shown while nothing is filled.
    const QString output = QString::fromStdString("/music/" + std::string(40, 'M') + ".mp3");
    paint({1, 1, 0.0, 0.0, output, nullptr});
    for (int y = 107; y < 130; ++y)
        for (int x = 0; x < 130; ++x) ASSERT_TRUE(Is(image, x, y, kWhite)) << x << "," << y;
    paint({1, 1, 0.5, 0.5, output, nullptr});  // 65 columns
    int textPixels = 0;
    for (int y = 108; y <= 117; ++y) {
        EXPECT_TRUE(Is(image, 0, y, kLightGrey)) << y;  // the blank before the path
        for (int x = 0; x < 130; ++x) {
            if (x >= 65) EXPECT_TRUE(Is(image, x, y, kWhite)) << x << "," << y;  // clipped to the filled part
            else textPixels += !Is(image, x, y, kLightGrey);
        }
    }
    EXPECT_GT(textPixels, 20);
}

// A screen reader hears the same state: idle, converting N of M, idle again.
TEST_F(WindowTest, BadgeSpinsWhileAFileRunsAndFinishesItsCycle) {
    auto window = MakeWindow();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto hold = [released](const std::string&, const Settings&, const std::string&, const JobHooks&) {
        released.wait();
        return JobResult::Done;
    };
    window->StartConversions({hold, hold});
    auto rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); };
    std::string frames;
    for (const char busy : std::string("0111111111100000000")) {
        if (busy == '1' && frames.size() == 1) window->QueuePaths({"/a.wav", "/b.wav"});
        if (busy == '0' && frames.size() == 11) {
            release.set_value();
            ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(*window); }, 5000));
        }
        window->Tick();
        EXPECT_EQ(window->accessibleName(), busy == '1' ? "Quavermill: converting 1 of 2" : "Quavermill: idle");
        frames += char('0' + window->FrameIndex());
        // Each frame is drawn unchanged at (131/2 - 31, 131/2 - 33).
        EXPECT_EQ(rgb(window->grab().toImage()).copy(34, 32, 63, 63),
                  rgb(QImage(QString(":/quavermill/frame%1.png").arg(frames.back()))));
    }
    EXPECT_EQ(frames, "0123456701234567000");
}

// Two workers raising an error each, and a drop's warning: the boxes are
// shown on the main thread, one after the other, each holding only its own worker; Exit ends
// the program even while a worker waits for its box.
TEST_F(WindowTest, BoxesOfSeveralWorkersAreShownOneAfterTheOther) {
    int open = 0, mostOpen = 0;
    std::vector<QString> shown;
    WindowServices services{&settings, QSize(1920, 1080), {}, {}, 2, "Quavermill.log", {}, {}};
    services.showMessageBox = [&](const MessageBoxRequest& box) {
        EXPECT_EQ(QThread::currentThread(), QApplication::instance()->thread());
        mostOpen = std::max(mostOpen, ++open);
        shown.push_back(box.text);
        QTest::qWait(100);  // a modal box runs the event loop while it is open
        --open;
    };
    settings.Logerr = MenuSwitch(false);
    MainWindow window(services);
    window.StartConversions(RecordingJobs("Can't open file\n"));
    window.ApplySettings();
    window.QueuePaths({"/in/a.wav", "/in/b.wav", "/in/notes.txt"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(window) && shown.size() == 3; }, 10000));
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<QString>{"/in/a.wav: Can't open file\n", "/in/b.wav: Can't open file\n",
                                           "Unsupported input file type"}));
    EXPECT_EQ(mostOpen, 1);

    // Without events no box is shown: the worker waits until Exit releases it.
    services.showMessageBox = [](const MessageBoxRequest&) { FAIL() << "shown after Exit"; };
    MainWindow waiting(services);
    waiting.StartConversions(RecordingJobs("Can't open file\n"));
    waiting.ApplySettings();
    waiting.QueuePaths({"/in/c.wav"});
    for (int i = 0; i < 500 && seen.size() < 3; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(seen.size(), 3u);
    QSignalSpy quit(&waiting, &MainWindow::QuitRequested);
    waiting.ExitSaving();  // returns: the worker was released
    EXPECT_EQ(quit.count(), 1);
    // Fix: files handed over once Exit had begun were taken, then dropped; refused, they open a new window.
    EXPECT_FALSE(waiting.QueuePaths({"/in/d.wav"}));
}

}  // namespace
