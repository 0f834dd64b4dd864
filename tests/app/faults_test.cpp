// Faults the program must survive: a damaged embedded sheet, no display,
// hostile files, pictures, rows and screen-reader questions, and objects or
// windows that go away while something still runs on them.
// Under the sanitizer build every case also proves that nothing dangles or
// leaks.
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/app_fixtures.h"
#include "toolkit/skin_sheet.h"

using namespace zui;

namespace {

// ---- damaged sheets ----------------------------------------------------------------
enum class Sheet { Truncated, HeaderOnly, Garbage, FlippedData, Empty, WrongSize };

std::vector<unsigned char> sheet_bytes(Sheet kind) {
  const unsigned char* png = zui_skin_sheet_png;
  const std::size_t size = zui_skin_sheet_png_size;
  switch (kind) {
    case Sheet::Truncated: return {png, png + size / 2};
    case Sheet::HeaderOnly: return {png, png + 40};
    case Sheet::Garbage: {
      std::vector<unsigned char> bytes(4096);
      for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = (unsigned char)(i * 131 + 7);
      return bytes;
    }
    case Sheet::FlippedData: {
      // The picture data is damaged but the file still looks whole.
      std::vector<unsigned char> bytes(png, png + size);
      for (std::size_t i = size / 3; i < size / 3 + 64; ++i) bytes[i] ^= 0x5A;
      return bytes;
    }
    case Sheet::Empty: return {};
    case Sheet::WrongSize: {
      // A valid picture far smaller than the sheet: most cuts fall outside.
      const int32_t image = tk_create_image(-1, 16, 16);
      QTemporaryDir dir;
      const std::string path = dir.filePath("small.png").toStdString();
      EXPECT_EQ(tk_save_image(image, path), 1);
      tk_free_image(image);
      QFile file(QString::fromStdString(path));
      EXPECT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray data = file.readAll();
      return {data.begin(), data.end()};
    }
  }
  return {};
}

class DamagedSheet : public DemoScreen, public ::testing::WithParamInterface<Sheet> {
 protected:
  void SetUp() override {
    const std::vector<unsigned char> bytes = sheet_bytes(GetParam());
    ASSERT_EQ(start_up(app, bytes.data(), bytes.size()), 1);
    ASSERT_EQ(build_demo_screen(app), 1);
    park_mouse();
    run_for(60);
  }
  void TearDown() override {
    DemoScreen::TearDown();
    // Quitting cleanly: nothing of the screen outlives the shut-down.
    EXPECT_EQ(tk_live_window_count(), 0);
    EXPECT_EQ(tk_live_gadget_count(), 0);
    EXPECT_EQ(tk_live_image_count(), 0);
  }
};

}  // namespace

TEST_P(DamagedSheet, ScreenIsBuiltWithEmptyPiecesAndTheProgramRunsAndQuits) {
  if (GetParam() != Sheet::WrongSize) {
    for (const SkinPieceSpec& piece : kSkinPieceTable)
      EXPECT_EQ(app.state.skin.*piece.field, 0) << piece.name;
  }
  // Without pieces the skinned controls are missing; the rest stands.
  EXPECT_NE(object("GridVersionConfig"), nullptr);
  EXPECT_NE(object("SplitterSideMain"), nullptr);

  // The user's mouse goes everywhere the controls would be: a move and a
  // click on whatever lies at each point of a coarse lattice.
  for (int y = 5; y < inner_height(); y += 61) {
    for (int x = 5; x < inner_width(); x += 83) {
      QWidget* w = client()->childAt(x, y);
      if (w == nullptr) w = client();
      const QPoint p = w->mapFrom(client(), QPoint(x, y));
      QCursor::setPos(w->mapToGlobal(p));
      QTest::mouseMove(w, p);
      QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, p);
      step(0);
    }
  }
  key(Qt::Key_Escape);
  resize_window_to(1200, 800);
  settle(100);
  top()->close();
  bool more = true;
  for (int i = 0; i < 50 && more; ++i) more = step(20);
  EXPECT_FALSE(more);
}

std::string sheet_name(const ::testing::TestParamInfo<Sheet>& info) {
  static const char* const names[] = {"Truncated", "HeaderOnly", "Garbage",
                                      "FlippedData", "Empty", "WrongSize"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Faults, DamagedSheet,
                         ::testing::Values(Sheet::Truncated, Sheet::HeaderOnly, Sheet::Garbage,
                                           Sheet::FlippedData, Sheet::Empty, Sheet::WrongSize),
                         sheet_name);

// ---- no display ----------------------------------------------------------------------
namespace {

struct Outcome {
  bool finished = false;
  bool crashed = false;
  int code = 0;
  QStringList lines;  // of stderr
};

// Runs the program with no window system set but what `display` names.
Outcome run_demo_with_display(const QString& display) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  if (!display.isEmpty()) env.insert("DISPLAY", display);
  QProcess demo;
  demo.setProcessEnvironment(env);
  demo.start("./zui-demo", {});
  Outcome out;
  if (!demo.waitForStarted(5000)) return out;
  out.finished = demo.waitForFinished(30000);
  if (!out.finished) {
    demo.kill();
    demo.waitForFinished(5000);
    return out;
  }
  out.crashed = demo.exitStatus() != QProcess::NormalExit;
  out.code = demo.exitCode();
  out.lines = QString::fromLocal8Bit(demo.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
  return out;
}

}  // namespace

TEST(NoDisplay, TheDemoSaysSoInOneLineAndFails) {
  // Nothing set at all: found before the platform starts.
  Outcome unset = run_demo_with_display("");
  ASSERT_TRUE(unset.finished) << "the program waited for a window nobody can see";
  EXPECT_FALSE(unset.crashed);
  EXPECT_NE(unset.code, 0);
  ASSERT_EQ(unset.lines.size(), 1) << unset.lines.join("\n").toStdString();
  EXPECT_TRUE(unset.lines[0].startsWith("zui-demo: no display")) << unset.lines[0].toStdString();

  // A display that names no server: only the platform finds out, and it
  // would abort with a page of advice.
  Outcome missing = run_demo_with_display(":4093");
  ASSERT_TRUE(missing.finished);
  EXPECT_FALSE(missing.crashed);
  EXPECT_NE(missing.code, 0);
  ASSERT_EQ(missing.lines.size(), 1) << missing.lines.join("\n").toStdString();
  EXPECT_EQ(missing.lines[0], "zui-demo: cannot open the display \":4093\"");
}

// ---- things that go away while they run ------------------------------------------------
using Removal = DemoScreen;

TEST_F(Removal, AnArrowRemovedWhileItTurnsIsForgottenByTheLoop) {
  hover("ButtonHeadExpCol", 8, 8);  // hovered, then pressed: the window remembers it
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  ASSERT_GE(button_record(*object("ButtonHeadExpCol"))->look, 16);  // still turning
  EXPECT_EQ(remove_object(app.ui, "ButtonHeadExpCol", 1), 1);
  settle(400);
  EXPECT_FALSE(saw(Code::AnimationDone, "ButtonHeadExpCol"));
  EXPECT_EQ(object("ButtonHeadExpCol"), nullptr);
  // The layout runs on without it.
  resize_window_to(1100, 760);
  settle(60);
}

TEST_F(Removal, AnAreaRemovedWhileItsArrowTurnsLeavesTheReactionNothingToTouch) {
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  EXPECT_EQ(remove_object(app.ui, "ContainerHead", 1), 1);
  EXPECT_EQ(object("PanelHead"), nullptr);
  // The run ends and the application collapses an area that is gone.
  ASSERT_TRUE(run_until([&] { return saw(Code::AnimationDone, "ButtonHeadExpCol"); }));
  settle(60);
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::AnimationDone, "ButtonHeadExpCol"); }));
}

TEST_F(Removal, AGridRemovedWhileAnExpanderTurnsAndItsEditorIsOpen) {
  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  const std::string g = "GridVersionConfig";
  double_click_cell(g, 3, 0);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, g); }));
  const int32_t editor = grid(g).inputGadget;
  hover_cell(g, 0, 0);
  toggle_expander(grid(g), 0, 0);
  ASSERT_FALSE(grid(g).activeExpanders.empty());  // turning
  step(20);
  EXPECT_EQ(remove_object(app.ui, g, 1), 1);
  EXPECT_FALSE(tk_gadget_exists(editor));
  settle(300);
  EXPECT_EQ(close_editor(app.ui, g, 0), 0);
}

TEST_F(Removal, ClosingTheWindowWithAnOpenEditorEndsTheLoopCleanly) {
  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  const std::string g = "GridVersionCalc";
  double_click_cell(g, 1, 1);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, g); }));
  settle(60);
  type("half typed");
  top()->close();
  bool more = true;
  for (int i = 0; i < 50 && more; ++i) more = step(20);
  EXPECT_FALSE(more);
  // Shut-down (TearDown) closes the window with the editor still open.
}

// ---- hostile input ----------------------------------------------------------------------
namespace {

uint32_t png_crc(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string big_endian(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A well-formed PNG header declaring w x h RGB pixels, with no picture data.
std::string png_header(uint32_t w, uint32_t h) {
  const auto chunk = [](const std::string& type, const std::string& data) {
    return big_endian(uint32_t(data.size())) + type + data + big_endian(png_crc(type + data));
  };
  return std::string("\x89PNG\r\n\x1a\n", 8) +
         chunk("IHDR", big_endian(w) + big_endian(h) + std::string("\x08\x02\x00\x00\x00", 5)) +
         chunk("IEND", "");
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

using HostileInput = DemoScreen;

// Files, pictures, rows and screen-reader questions a program may be handed:
// each ends in one answer, at once, with bounded memory. A case that hangs
// fails by the test's time-out.
TEST_F(HostileInput, EndsInOneAnswerWithoutCrashHangOrFlood) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  const std::string png(reinterpret_cast<const char*>(zui_skin_sheet_png), zui_skin_sheet_png_size);
  ASSERT_EQ(::mkdir((d + "/dir.png").c_str(), 0700), 0);
  ASSERT_EQ(::mkfifo((d + "/fifo.png").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (d + "/zero.png").c_str()), 0);
  write_file(d + "/bomb.png", png_header(16384, 4096));
  write_file(d + "/own.png", png);
  write_file(d + "/own@2x.png", png_header(16, 16));
  write_file(d + "/dirpair.png", png);
  ASSERT_EQ(::mkdir((d + "/dirpair@2x.png").c_str(), 0700), 0);

  // A skin file: the message, with " (pieces missing)" when the built-in
  // skin was not cut in its place.
  const auto skin_file = [&](const std::string& path) {
    SkinPieces skin;
    std::string message = load_skin_file(skin, path);
    for (const SkinPieceSpec& piece : kSkinPieceTable)
      if (skin.*piece.field == 0) return message + " (pieces missing)";
    free_skin_pieces(skin);
    return message;
  };
  const std::string builtIn = "; the built-in skin is used instead";

  // 5000 rows of height 0 in a grid 150 pixels high.
  const auto flat_rows = [&]() -> GridRecord& {
    if (!object("HostileRows")) {
      create_grid(app.ui, "HostileRows", 10, 10, 200, 150, app.state.skin.SkinGridParts, 20, "");
      set_attribute(app.ui, "HostileRows", "REDRAW", "0", 0);
      add_column(app.ui, "HostileRows", -1, "A", 100, 0, 0, 0, "", 0);
      for (int r = 0; r < 5000; ++r) add_row(app.ui, "HostileRows", -1, "", 0, 0, "x", "", 0);
      set_attribute(app.ui, "HostileRows", "REDRAW", "1", 1);
    }
    return grid("HostileRows");
  };
  const auto table_of = [&](const std::string& name) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(widget(name));
    return i ? i->tableInterface() : nullptr;
  };

  struct Case {
    const char* what;
    std::function<std::string()> run;  // what came of it
    std::string expected;
  } cases[] = {
      {"a directory", [&] { return skin_file(d + "/dir.png"); },
       "skin sheet " + d + "/dir.png not used: it is a directory" + builtIn},
      {"a FIFO without a writer", [&] { return skin_file(d + "/fifo.png"); },
       "skin sheet " + d + "/fifo.png not used: it is not a regular file (a device, pipe or socket)" + builtIn},
      {"a link to /dev/zero", [&] { return skin_file(d + "/zero.png"); },
       "skin sheet " + d + "/zero.png not used: it is not a regular file (a device, pipe or socket)" + builtIn},
      {"a header declaring 16384 x 4096", [&] { return skin_file(d + "/bomb.png"); },
       "skin sheet " + d + "/bomb.png not used: it is 16384 x 4096 pixels, a sheet is 410 x 400" + builtIn},
      {"a 2x sheet of another size, at 100 %", [&] { return skin_file(d + "/own.png"); },
       "2x skin sheet " + d + "/own@2x.png not used: it is 16 x 16 pixels, a 2x sheet is 820 x 800" + builtIn},
      {"a directory as the 2x sheet", [&] { return skin_file(d + "/dirpair.png"); },
       "2x skin sheet " + d + "/dirpair@2x.png not used: it is a directory" + builtIn},
      {"a name with a terminal sequence", [&] { return skin_file(d + "/\x1b[2J\x9b.png"); },
       "skin sheet " + d + "/\\x1b[2J\\x9b.png not used: it cannot be read (No such file or directory)" + builtIn},
      {"a 4000 x 4000 image at 400 % (a gigabyte of device pixels)",
       [&] {
         tk_set_display_scale(400);
         const int32_t huge = tk_create_image(-1, 4000, 4000), fits = tk_create_image(-1, 1000, 1000);
         tk_set_display_scale(100);
         const std::string out = std::string(huge ? "made" : "refused") + ", 1000 x 1000 " + (fits ? "made" : "refused");
         tk_free_image(huge);
         tk_free_image(fits);
         return out;
       },
       "refused, 1000 x 1000 made"},
      {"rows of height 0",
       [&] {
         GridRecord& g = flat_rows();
         const std::string drawn = g.lastVisibleRow < 150 ? "at most one row a pixel" : "every row drawn";
         grid_key(app.ui, *object("HostileRows"), GridKey::Last);
         const std::string end = ", End shows row " + std::to_string(g.lastVisibleRow);
         grid_key(app.ui, *object("HostileRows"), GridKey::PageUpKey);
         return drawn + end + (g.scrollY > 4500 ? ", Page Up goes back a page" : ", Page Up goes back to the top");
       },
       "at most one row a pixel, End shows row 4999, Page Up goes back a page"},
      {"a screen reader asking past the last row",
       [&] {
         QAccessibleTableInterface* t = table_of("SideTreeCases");
         QAccessibleInterface* past = t ? t->cellAt(t->rowCount(), 0) : nullptr;
         if (!past || !past->tableCellInterface()) return std::string("no cell");
         return std::string(past->isValid() ? "valid" : "invalid") +
                (past->tableCellInterface()->isSelected() ? ", selected" : "");
       },
       "invalid"},
      {"a screen reader walking 5000 rows",
       [&] {
         flat_rows();
         QAccessibleTableInterface* t = table_of("HostileRows");
         if (!t) return std::string("no table");
         const QAccessible::Id first = QAccessible::uniqueId(t->cellAt(0, 0));
         for (int r = 1; r < 5000; ++r) t->cellAt(r, 0);
         return std::string(QAccessible::accessibleInterface(first) ? "every cell kept" : "early cells let go") +
                (t->cellAt(0, 0)->isValid() ? ", asked again: valid" : "");
       },
       "early cells let go, asked again: valid"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.run(), c.expected) << c.what;
}

TEST(BadSkin, TheDemoGivesOneMessageAndRunsWithTheBuiltInSkin) {
  // A FIFO nobody writes to: reading it would wait for ever.
  QTemporaryDir dir;
  const QString sheet = dir.filePath("bad.png");
  ASSERT_EQ(::mkfifo(sheet.toLocal8Bit().constData(), 0600), 0);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ZUI_SCREENSHOT", dir.filePath("shot.png"));
  QProcess demo;
  demo.setProcessEnvironment(env);
  demo.start("./zui-demo", {"--skin", sheet});
  ASSERT_TRUE(demo.waitForFinished(30000));
  EXPECT_EQ(demo.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(demo.exitCode(), 0);
  // The platform may add notes of its own; the program says one thing.
  const QStringList lines = QString::fromLocal8Bit(demo.readAllStandardError())
                                .split('\n', Qt::SkipEmptyParts)
                                .filter(QRegularExpression("^zui-demo: "));
  ASSERT_EQ(lines.size(), 1) << lines.join("\n").toStdString();
  EXPECT_TRUE(lines[0].startsWith("zui-demo: skin sheet " + sheet + " not used: "))
      << lines[0].toStdString();
  // The screen was built and drawn all the same.
  EXPECT_GT(QFile(dir.filePath("shot.png")).size(), 0);

  // --skin without its file says what is missing and runs nothing.
  demo.start("./zui-demo", {"--skin"});
  ASSERT_TRUE(demo.waitForFinished(30000));
  EXPECT_EQ(demo.exitCode(), 2);
  EXPECT_TRUE(QString::fromLocal8Bit(demo.readAllStandardError()).contains("--skin needs a FILE"));
}
