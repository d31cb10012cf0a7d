// The data log "capture.dat": opening, layout, when lines are written, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <unistd.h>

#include "models/linear/mrvlin.h"
#include "test_support.h"

namespace {

// Runs each test in its own scratch directory: the log goes to the working directory.
class DataLog : public ::testing::Test {
protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("kinemo_log_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  static std::vector<std::string> Lines() {
    std::ifstream in("capture.dat");
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
      lines.push_back(l);
    return lines;
  }
  static void Press(TGL_Form& form, char c) {
    std::uint16_t k = vk::Letter(c);
    form.FormKeyDown(k, 0);
  }
  std::filesystem::path old_, dir_;
};

const std::string kHeader =
    "t                 Fx                Fy                Fz                "
    "PosX              VitX              xalim             dx                "
    "dxregard          ";

} // namespace

TEST_F(DataLog, TwoPressesWhilePausedLeaveOnlyTheHeader) {
  TFormFixture f;
  f.form->SelectDevice(6);
  Press(*f.form, 'C');
  EXPECT_TRUE(f.form->LogOn);
  Press(*f.form, 'C');
  EXPECT_FALSE(f.form->LogOn);
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], kHeader);
  EXPECT_EQ(lines[0].size(), 162u);
}

TEST_F(DataLog, OneLinePerTickWhileTheReluctanceCarriageIsSelected) {
  TFormFixture f;
  f.form->SelectDevice(6);
  f.form->AnimateClick();
  f.form->SimTime = 1.0;
  Press(*f.form, 'C');
  for (int k = 0; k < 5; ++k)
    f.form->Timer1Timer();
  f.form->SelectDevice(0); // another device: no lines, log stays open
  for (int k = 0; k < 3; ++k)
    f.form->Timer1Timer();
  EXPECT_TRUE(f.form->LogOn);
  f.form->SelectDevice(6);
  f.form->Timer1Timer();
  Press(*f.form, 'C');
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 1u + 6u);
  EXPECT_EQ(lines[1].substr(0, 18), "1.01              ");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    // Nine columns of 18 characters; the phase column is a plain integer.
    ASSERT_EQ(lines[i].size(), 162u) << lines[i];
    const std::string xalim = lines[i].substr(6 * 18, 18);
    EXPECT_TRUE(xalim == "0                 " || xalim == "1                 " ||
                xalim == "2                 ")
        << xalim;
  }
}

TEST_F(DataLog, WidestValuesStayWholeAndUseAPointWhateverTheLocale) {
  TFormFixture f;
  f.form->SelectDevice(6);
  Press(*f.form, 'C');
  std::locale::global(std::locale("C.UTF-8"));
  f.form->SimTime = -1.2345678e-100; // the widest 8-digit number: 15 characters
  f.form->WriteLogLine();
  Press(*f.form, 'C');
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("-1.2345678e-100  ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[1].size(), 162u);
  std::locale::global(std::locale::classic());
}

TEST_F(DataLog, OpeningFailureShowsTheMessageAndTheNextPressTriesAgain) {
  if (::geteuid() == 0) GTEST_SKIP() << "root can write into a read-only directory";
  TFormFixture f;
  f.form->SelectDevice(6);
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_exec);
  Press(*f.form, 'C');
  EXPECT_FALSE(f.form->LogOn);
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Text, "capture.dat impossible à ouvrir");
  EXPECT_EQ(f.tk.Messages[0].Caption, "Erreur d'écriture");
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
  Press(*f.form, 'C');
  EXPECT_TRUE(f.form->LogOn);
}

TEST_F(DataLog, OpeningFailureWhenTheNameIsADirectory) {
  // Works for root too: a directory cannot be opened as a file.
  std::filesystem::create_directory("capture.dat");
  TFormFixture f;
  f.form->SelectDevice(8);
  Press(*f.form, 'C');
  EXPECT_FALSE(f.form->LogOn);
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Text, "capture.dat impossible à ouvrir");
}

TEST_F(DataLog, AFullDiskClosesTheLogWithAMessageInsteadOfFailingSilently) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
  TFormFixture f;
  f.form->SelectDevice(6);
  std::filesystem::create_symlink("/dev/full", "capture.dat");
  f.form->AnimateClick();
  Press(*f.form, 'C');
  for (int k = 0; k < 3 && f.form->LogOn; ++k)
    f.form->Timer1Timer();
  EXPECT_FALSE(f.form->LogOn);
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Caption, "Erreur d'écriture");
  f.form->Timer1Timer(); // nothing more is attempted
  EXPECT_EQ(f.tk.Messages.size(), 1u);
}
