// "Ai&de" opens our own help page from the program's data folder, found beside
// the program wherever its tree was moved, and says so when the page is missing.
// The page's device part is written from the devices' descriptions at build time.
#include <filesystem>
#include <gtest/gtest.h>

#include "files/data_folder.h"
#include "models/device_description.h"
#include "test_support.h"
#include "texts/help_devices.h"
#include "texts/ts_catalogue.h"

TEST(Help, OpensThePageInTheDataFolderOrSaysItIsMissing) {
  TFormFixture f;
  f.form->Aide2Click();
  ASSERT_EQ(f.tk.OpenedDocuments.size(), 1u);
  const std::filesystem::path page = f.tk.OpenedDocuments[0];
  EXPECT_TRUE(std::filesystem::is_regular_file(page)) << page;
  EXPECT_EQ(page, std::filesystem::path(KINEMO_BUILD_DATA_DIR) / "help/index.html");
  EXPECT_TRUE(f.tk.Messages.empty());

  TScratchDir empty;
  f.form->UseDataFolder(empty.Dir.string());
  f.form->Aide2Click();
  EXPECT_EQ(f.tk.OpenedDocuments.size(), 1u); // no browser on a missing file
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Text,
            "La page d'aide n'a pas pu être ouverte :\n" + (empty / "help/index.html"));
}

TEST(Help, TheDataFolderSitsBesideTheProgramsFolder) {
  EXPECT_EQ(DataFolderOf("/opt/lab/bin/kinemo"), "/opt/lab/share/kinemo");
  EXPECT_EQ(DataFolderOf(""), "");
  // The build tree keeps the same layout, so the built program finds its files.
  EXPECT_EQ(DataFolderOf(KINEMO_BINARY), std::filesystem::path(KINEMO_BUILD_DATA_DIR).string());
  EXPECT_EQ(std::filesystem::path(ExecutablePath(nullptr)).filename(), "kinemo_tests");
}

// The page in the data folder is the template with every device as its
// description has it now: name, keys, values and parameters.
TEST(Help, TheDevicesPartIsWrittenFromTheirDescriptions) {
  TFormFixture f;
  const std::string built =
      ReadFile(std::filesystem::path(KINEMO_BUILD_DATA_DIR) / "help/index.html");
  std::string expected;
  ASSERT_TRUE(
      FillHelpTemplate(ReadFile(KINEMO_HELP_TEMPLATE), DeviceHelpHtml(f.form->Sim), expected));
  EXPECT_EQ(built, expected);
  EXPECT_EQ(built.find(kHelpDevicesMarker), std::string::npos);
  for (const TRobot* robot : f.form->Sim.Robots) {
    const TDeviceDescription& d = robot->Description();
    EXPECT_NE(built.find(d.Name), std::string::npos) << d.Name;
    for (const TParameterDescription& p : d.Parameters)
      EXPECT_NE(built.find("<code>" + std::string(p.Field) + "</code>"), std::string::npos);
  }
  EXPECT_NE(built.find("<td>0,01 à 5</td>"), std::string::npos); // French numbers
  EXPECT_NE(built.find("(n° 0 et 2)"), std::string::npos);       // one section per class
  std::string page;
  EXPECT_FALSE(FillHelpTemplate("<html></html>", "x", page));
}

// The English page: the same devices, their texts from the English catalogue.
TEST(Help, TheEnglishPageHasTheDescriptionsInEnglish) {
  TFormFixture f;
  TCatalogue english;
  ASSERT_TRUE(ReadCatalogue(ReadFile(KINEMO_CATALOGUE_EN), "Devices", english));
  const std::string built =
      ReadFile(std::filesystem::path(KINEMO_BUILD_DATA_DIR) / "help/index-en.html");
  std::string expected;
  ASSERT_TRUE(FillHelpTemplate(ReadFile(KINEMO_HELP_TEMPLATE_EN),
                               DeviceHelpHtml(f.form->Sim, &english), expected));
  EXPECT_EQ(built, expected);
  for (const TRobot* robot : f.form->Sim.Robots) {
    const TDeviceDescription& d = robot->Description();
    for (const char* text : {d.Name, d.Text}) {
      ASSERT_EQ(english.count(text), 1u) << "no English for " << text;
      EXPECT_NE(built.find(english.at(text)), std::string::npos) << text;
      if (english.at(text) != text) {
        EXPECT_EQ(built.find(text), std::string::npos) << "still French: " << text;
      }
    }
  }
  EXPECT_NE(built.find("<td>0.01 to 5</td>"), std::string::npos);
  // Entities and unfinished translations as lupdate writes them.
  TCatalogue read;
  ASSERT_TRUE(ReadCatalogue("<context><name>Devices</name><message><source>l&apos;axe &amp; "
                            "&lt;x&gt;</source><translation>the &quot;axis&quot;</translation>"
                            "</message><message><source>b</source><translation type=\"unfinished"
                            "\">c</translation></message></context>",
                            "Devices", read));
  EXPECT_EQ(read, (TCatalogue{{"l'axe & <x>", "the \"axis\""}}));
}
