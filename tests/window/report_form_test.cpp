#include "window/report_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

// Gives each loaded file a picture group naming it, as the real source gives
// the file's picture.
class NamingPictures final : public PictureSource {
 public:
  void LoadPictureFile(const std::string& path) override {
    loaded.push_back(path);
    last = path.substr(path.rfind('/') + 1);
  }
  std::string PictureToRtf() override { return "{\\pict\\pngblip " + std::to_string(last.size()) + "}"; }
  std::vector<std::string> loaded;
  std::string last;
};

struct ReportFormTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  RegionalSettings regional{false, "C"};
  void SetUp() override {
    state.ProgramFolder = dir.Str();
    state.Language = 1;
    state.RomName = "gng";
    state.RomKey = "gng;";
    state.GameTitle = "Ghosts";
    for (std::size_t i = 1; i <= 6; ++i) state.ImagePath[i] = dir.Str() + "/p" + std::string(i, 'x') + ".png";
  }
};

TEST_F(ReportFormTest, LoadFillsAndColoursTheWholeReport) {
  dir.Write("Zorv.inf", "Color=Red\r\nBackColor=Blue\r\n");
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  const auto& box = form.Report();
  EXPECT_NE(box.Text().find("Ghosts\n"), std::string::npos);
  EXPECT_EQ(box.BackColor(), 0xFF0000);
  EXPECT_EQ(box.SelLength(), 0u);
  for (const auto& paragraph : box.Content().paragraphs) {
    for (const auto& piece : paragraph.content) {
      if (const auto* run = std::get_if<richtext::TextRun>(&piece)) {
        EXPECT_EQ(run->format.colour.value_or(-1), 0x0000FF);
      }
    }
  }
  EXPECT_FALSE(form.CentredPosition().has_value());
}

TEST_F(ReportFormTest, UsageSheetIsWhiteCourierNew) {
  state.ShowUsage = true;
  dir.Write("Zorv.inf", "Color=Red\r\n");
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  EXPECT_EQ(state.ForeColor, 0xFFFFFF);
  EXPECT_EQ(form.Report().FontName(), "Courier New");
  EXPECT_DOUBLE_EQ(form.Report().FontSize(), 10);
  EXPECT_TRUE(form.Report().Text().starts_with(" [Press 'ESC' key to exit]\n"));
  NamingPictures pictures;
  form.Activate(pictures);
  EXPECT_TRUE(pictures.loaded.empty());
}

TEST_F(ReportFormTest, FirstActivationPutsPicturesInOnceAndSaves) {
  dir.Write("Zorv.rtf", "{\\rtf1 #SNAP|#SNAP|#FLYER|#SCRTITLE|#MARQUEE|#CABINET|#CPO|#MYNOTES}");
  state.NotesText = "#FLYER";
  state.NoSnap = true;
  state.SavePath = dir.Str() + "/";
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  NamingPictures pictures;
  form.Activate(pictures);
  EXPECT_EQ(pictures.loaded.size(), 5u);
  EXPECT_EQ(state.ImagePath[2], "");
  const std::string rtf = form.Report().TextRTF();
  EXPECT_EQ(rtf.find("#"), std::string::npos) << rtf;
  EXPECT_EQ(form.Report().Text(), "||\xef\xbf\xbc|\xef\xbf\xbc|\xef\xbf\xbc|\xef\xbf\xbc|\xef\xbf\xbc|\xef\xbf\xbc");
  EXPECT_EQ(dir.Read("ZRV_gng.rtf"), rtf);
  EXPECT_TRUE(form.AlreadyActivated());
  form.Activate(pictures);
  EXPECT_EQ(pictures.loaded.size(), 5u);
}

TEST_F(ReportFormTest, NoImageClearsEveryPictureAndClosingStopsTheLoading) {
  state.NoImage = true;
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  NamingPictures pictures;
  form.Activate(pictures);
  EXPECT_TRUE(pictures.loaded.empty());
  for (std::size_t i = 1; i <= 6; ++i) EXPECT_EQ(state.ImagePath[i], "");

  SharedState other = state;
  other.NoImage = false;
  for (std::size_t i = 1; i <= 6; ++i) other.ImagePath[i] = "p" + std::to_string(i) + ".png";
  ReportForm closing(other, ScreenMetrics{}, regional);
  closing.Load();
  int events = 0;
  closing.Activate(pictures, [&events] { return ++events < 3; });
  EXPECT_EQ(pictures.loaded.size(), 2u);
  EXPECT_FALSE(closing.AlreadyActivated());
}

TEST_F(ReportFormTest, SaveFailureIsLoggedAsG) {
  state.SavePath = dir.Str() + "/missing/folder/";
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  NamingPictures pictures;
  form.Activate(pictures);
  EXPECT_TRUE(form.AlreadyActivated());
  EXPECT_NE(dir.Read("Zorv.Log.txt").find("\r\nERROR G - 75\r\n"), std::string::npos);
}

TEST_F(ReportFormTest, UnloadWritesZorvInfOnlyWhenThereIsNone) {
  state.Center = true;
  ReportForm form(state, ScreenMetrics{}, regional);
  form.Load();
  ASSERT_TRUE(form.CentredPosition().has_value());
  form.Unload();
  EXPECT_NE(dir.Read("Zorv.inf").find("Width=1920\r\nHeight=1080\r\nFont=Arial\r\nSize=10\r\nColor=Green"),
            std::string::npos);
  dir.Write("zorv.inf", "mine");
  std::filesystem::remove(dir.Path() / "Zorv.inf");
  form.Unload();
  EXPECT_EQ(dir.Read("zorv.inf"), "mine");
  EXPECT_FALSE(dir.Exists("Zorv.inf"));
}

}  // namespace
}  // namespace zorv
