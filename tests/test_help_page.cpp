// "Ai&de" opens our own help page, found where the program was installed or
// built.
#include <filesystem>
#include <gtest/gtest.h>

#include "test_support.h"

TEST(Help, OpensAnExistingHelpPage) {
  TFormFixture f;
  f.form->Aide2Click();
  ASSERT_EQ(f.tk.OpenedDocuments.size(), 1u);
  const std::filesystem::path page = f.tk.OpenedDocuments[0];
  EXPECT_TRUE(std::filesystem::is_regular_file(page)) << page;
  EXPECT_EQ(page.filename(), "index.html");
}
