// The data log "capture.dat": opening, layout, when lines are written, failures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <locale>

#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

// Each test runs in its own folder: the log goes to the working directory.
class DataLog : public ::testing::Test, public TFormFixture {
protected:
  void SetUp() override {
    std::filesystem::current_path(dir_.Dir);
    form->SelectDevice(6);
  }
  void TearDown() override { std::filesystem::current_path(old_); }
  static std::vector<std::string> Lines() {
    std::ifstream in("capture.dat");
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
      lines.push_back(l);
    return lines;
  }
  void C() { Key(vk::Letter('C')); }
  std::filesystem::path old_ = std::filesystem::current_path();
  TScratchDir dir_;
};

TEST_F(DataLog, OneLinePerTickWhileTheReluctanceCarriageIsSelected) {
  C();
  C(); // two presses while paused leave only the header
  ASSERT_EQ(Lines(), std::vector<std::string>{
                         "t                 Fx                Fy                Fz                "
                         "PosX              VitX              xalim             dx                "
                         "dxregard          "});
  form->Sim.SimTime = 1.0;
  C();
  Ticks(5);
  form->SelectDevice(0); // another device: no lines, the log stays open
  Ticks(3);
  EXPECT_TRUE(form->LogOn);
  form->SelectDevice(6);
  Ticks(1);
  C();
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 1u + 6u);
  EXPECT_EQ(lines[1].substr(0, 18), "1.01              ");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    // Nine columns of 18 characters; the phase column is a plain integer.
    ASSERT_EQ(lines[i].size(), 162u) << lines[i];
    const std::string phase = lines[i].substr(6 * 18, 18);
    EXPECT_TRUE(phase[0] >= '0' && phase[0] <= '2') << phase;
    EXPECT_EQ(phase.substr(1), std::string(17, ' ')) << phase;
  }
}

TEST_F(DataLog, WidestValuesStayWholeAndUseAPointWhateverTheLocale) {
  C();
  std::locale::global(std::locale("C.UTF-8"));
  form->Sim.SimTime = -1.2345678e-100; // the widest 8-digit number: 15 characters
  form->WriteLogLine();
  std::locale::global(std::locale::classic());
  C();
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("-1.2345678e-100  ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[1].size(), 162u);
}

TEST_F(DataLog, AFileThatCannotBeOpenedIsReportedAndTheNextPressTriesAgain) {
  std::filesystem::create_directory("capture.dat");
  form->StatusBar.Panels[0].Text.clear();
  C();
  EXPECT_FALSE(form->LogOn);
  ASSERT_EQ(tk.Messages.size(), 1u);
  EXPECT_EQ(tk.Messages[0].Text, "capture.dat impossible à ouvrir");
  EXPECT_EQ(tk.Messages[0].Caption, "Erreur d'écriture");
  EXPECT_TRUE(form->StatusText().empty()); // no redraw after the message
  std::filesystem::remove("capture.dat");
  C();
  EXPECT_TRUE(form->LogOn);
}

TEST_F(DataLog, OnlyARegularFileIsTakenAndAFifoDoesNotHang) {
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  std::filesystem::create_symlink("/dev/null", "device");
  const struct {
    const char* Name;
    const char* Target;
    bool Reader; // a FIFO with a reader opens at once, but is no file either
  } cases[] = {{"a FIFO without a reader", "fifo", false},
               {"a FIFO with a reader", "fifo", true},
               {"a device", "device", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const int reader = c.Reader ? ::open("fifo", O_RDONLY | O_NONBLOCK) : -1;
    std::filesystem::remove("capture.dat");
    std::filesystem::create_symlink(c.Target, "capture.dat");
    tk.Messages.clear();
    C();
    EXPECT_FALSE(form->LogOn);
    ASSERT_EQ(tk.Messages.size(), 1u);
    EXPECT_EQ(tk.Messages[0].Text, "capture.dat impossible à ouvrir");
    if (reader >= 0) ::close(reader);
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
