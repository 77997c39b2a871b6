// The program's help against a recording stand-in for HtmlHelpA: which calls each request makes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "program_help.h"

namespace transzendal::app {
namespace {

constexpr std::string_view kFolder = "C:\\Archivos de programa\\TransZendal\\";
const std::string kHelpFile = std::string(kFolder) + "COLVARIAHLP.chm";

class ProgramHelpTest : public ::testing::Test {
 protected:
  ProgramHelpTest()
      : help_(std::make_unique<ProgramHelp>(
            [this](const HtmlHelpRequest& request) { calls_.push_back(request); },
            std::string(kFolder))) {}

  std::vector<HtmlHelpRequest> calls_;
  std::unique_ptr<ProgramHelp> help_;
};

TEST_F(ProgramHelpTest, F1AyudaMakesOneContentsCallWithTheHelpFileInTheProgramFolder) {
  help_->ShowContents();
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].command, HtmlHelpCommand::kDisplayToc);
  EXPECT_EQ(calls_[0].file, kHelpFile);
  EXPECT_EQ(calls_[0].data, 0u);
  EXPECT_EQ(calls_[0].window, 0u);
}

TEST_F(ProgramHelpTest, F1MakesOneContextCallWithContextThree) {
  help_->ShowContext(kHelpContext);
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].command, HtmlHelpCommand::kHelpContext);
  EXPECT_EQ(calls_[0].file, kHelpFile);
  EXPECT_EQ(calls_[0].data, 3u);
  EXPECT_EQ(calls_[0].window, 0u);
}

TEST_F(ProgramHelpTest, TheEndOfTheProgramClosesEveryHelpWindowOnce) {
  help_->ShowContents();
  help_.reset();
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[1].command, HtmlHelpCommand::kCloseAll);
  EXPECT_FALSE(calls_[1].file);
  EXPECT_EQ(calls_[1].window, 0u);
}

TEST_F(ProgramHelpTest, AHelpFileNamedWithAFolderIsUsedUnchanged) {
  for (const char* file : {"D:\\ayuda\\X.chm", "D:X.chm"}) {
    calls_.clear();
    help_->system().SetApplicationHelpFile(file);
    help_->ShowContext(kHelpContext);
    ASSERT_EQ(calls_.size(), 1u) << file;
    EXPECT_EQ(calls_[0].file, file);
  }
}

TEST_F(ProgramHelpTest, OnlyChmFilesAreShownWhateverTheirLetterCase) {
  help_->system().SetApplicationHelpFile("AYUDA.CHM");
  help_->ShowContext(kHelpContext);
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].file, std::string(kFolder) + "AYUDA.CHM");
  for (const char* file : {"ayuda.chm.bak", "ayuda", "D:\\ayuda.chm\\x"}) {
    calls_.clear();
    help_->system().SetApplicationHelpFile(file);
    help_->ShowContext(kHelpContext);
    help_->system().TopicHelp("inicio", file);
    help_->system().KeywordHelp("marcos", file);
    EXPECT_TRUE(calls_.empty()) << file;
  }
}

TEST_F(ProgramHelpTest, TopicsAreOpenedInsideTheHelpFileWithTheDefaultExtension) {
  const std::pair<const char*, const char*> cases[] = {{"inicio", "inicio.htm"},
                                                       {"inicio.HTML", "inicio.HTML"},
                                                       {"inicio.Htm", "inicio.Htm"},
                                                       {"marcos.txt", "marcos.txt.htm"}};
  for (const auto& [topic, page] : cases) {
    calls_.clear();
    EXPECT_TRUE(help_->system().TopicHelp(topic, ""));
    ASSERT_EQ(calls_.size(), 1u) << topic;
    EXPECT_EQ(calls_[0].command, HtmlHelpCommand::kDisplayTopic);
    EXPECT_EQ(calls_[0].file, kHelpFile + "::/" + page);
  }
}

TEST_F(ProgramHelpTest, AKeywordIsLookedUpInTheIndexWithoutThePartBeforeItsColon) {
  const std::pair<const char*, const char*> cases[] = {
      {"marcos horarios", "marcos horarios"},
      {"ChmViewer: Zendalor.ini", "Zendalor.ini"},
      {"Modo: incrustado\t", "incrustado"}};
  for (const auto& [keyword, looked_up] : cases) {
    calls_.clear();
    EXPECT_TRUE(help_->system().KeywordHelp(keyword, ""));
    ASSERT_EQ(calls_.size(), 1u) << keyword;
    EXPECT_EQ(calls_[0].command, HtmlHelpCommand::kDisplayIndex);
    EXPECT_EQ(calls_[0].keyword, looked_up);
  }
}

TEST(HtmlHelpViewer, TheSelectorPicksItsOwnKeywordEntryAndItselfForContents) {
  HelpSystem system;
  HtmlHelpViewer viewer(system, {}, "C:\\");
  const std::vector<std::string> first = {"ChmViewer: marcos", "WinHelp: marcos"};
  const std::vector<std::string> second = {": marcos", "chmviewer: x", "ChmViewer: marcos"};
  const std::vector<std::string> none = {"WinHelp: marcos", "Otro"};
  EXPECT_EQ(viewer.SelectKeyword(first), 0);
  EXPECT_EQ(viewer.SelectKeyword(second), 2);
  EXPECT_EQ(viewer.SelectKeyword(none), 0);
  const std::vector<std::string> providers = {"WinHelp", "CHMVIEWER"};
  const std::vector<std::string> others = {"WinHelp"};
  EXPECT_EQ(viewer.TableOfContents(providers), 1);
  EXPECT_EQ(viewer.TableOfContents(others), -1);
}

TEST(HtmlHelpViewer, WithoutHtmlHelpNothingIsShownAndNothingFails) {
  auto help = std::make_unique<ProgramHelp>(HtmlHelpCall(), "C:\\");
  help->ShowContents();
  help->ShowContext(kHelpContext);
  EXPECT_TRUE(help->system().TopicHelp("inicio", ""));  // taken, and silently not shown
  EXPECT_NO_THROW(help.reset());
}

TEST(WinHelpDecliner, KeepsTheWinHelpViewerFromEveryRequestButContents) {
  HelpSystem system;
  WinHelpDecliner decliner;
  WinHelpViewer viewer(system, decliner);
  system.Register(viewer);
  EXPECT_FALSE(system.ContextHelp(3, "X.hlp"));
  EXPECT_FALSE(system.TopicHelp("inicio", "X.hlp"));
  EXPECT_FALSE(system.KeywordHelp("marcos", "X.hlp"));
  EXPECT_TRUE(viewer.CanShowTableOfContents());
  EXPECT_EQ(decliner.GetHelpStrings("enlace"), std::vector<std::string>{": enlace"});
  EXPECT_EQ(decliner.GetHelpPath(), "");
  EXPECT_EQ(decliner.GetDefaultHelpFile(), "");
}

// A viewer that takes every request, to see which one the help system chooses.
class EagerViewer : public HelpViewer {
 public:
  explicit EagerViewer(std::vector<std::string>& log) : log_(log) {}
  std::string ViewerName() override { return "Otro"; }
  int UnderstandsKeyword(std::string_view) override { return 1; }
  std::vector<std::string> HelpStrings(std::string_view keyword) override {
    return {"Otro: " + std::string(keyword)};
  }
  bool CanShowTableOfContents() override { return true; }
  void ShowTableOfContents() override { log_.push_back("otro:contenido"); }
  void ShowHelp(std::string_view keyword) override { log_.push_back("otro:" + std::string(keyword)); }
  void NotifyId(int) override {}
  void SoftShutDown() override {}
  void ShutDown() override {}
  bool UnderstandsTopic(std::string_view) override { return true; }
  void DisplayTopic(std::string_view) override { log_.push_back("otro:tema"); }
  bool UnderstandsContext(int, std::string_view) override { return true; }
  void DisplayHelpByContext(int, std::string_view) override { log_.push_back("otro:contexto"); }

 private:
  std::vector<std::string>& log_;
};

TEST(HelpSystem, ContextsGoToTheFirstViewerAndChoicesToTheSelector) {
  std::vector<std::string> log;
  std::vector<HtmlHelpRequest> calls;
  HelpSystem system;
  EagerViewer other(log);
  HtmlHelpViewer html(system, [&](const HtmlHelpRequest& r) { calls.push_back(r); }, "C:\\P\\");
  system.SetApplicationHelpFile("A.chm");
  system.Register(other);
  system.Register(html);
  system.SetSelector(&html);
  system.ContextHelp(3, "A.chm");
  EXPECT_EQ(log, std::vector<std::string>{"otro:contexto"});
  EXPECT_TRUE(calls.empty());
  // Two viewers for a keyword and for the contents: the selector picks HTML Help.
  system.KeywordHelp("marcos", "");
  system.ShowTableOfContents("");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].keyword, "marcos");
  EXPECT_EQ(calls[0].file, "C:\\P\\A.chm");
  EXPECT_EQ(calls[1].command, HtmlHelpCommand::kDisplayToc);
  EXPECT_EQ(log.size(), 1u);
}

TEST(HelpSystem, TheCurrentHelpFileIsTheLatestNonEmptyOneARequestNamed) {
  std::vector<HtmlHelpRequest> calls;
  HelpSystem system;
  HtmlHelpViewer html(system, [&](const HtmlHelpRequest& r) { calls.push_back(r); }, "C:\\P\\");
  system.Register(html);
  system.SetApplicationHelpFile("A.chm");
  system.ContextHelp(3, "B.chm");
  system.ContextHelp(3, "");
  ASSERT_EQ(calls.size(), 1u);  // the empty name is no ".chm" file: declined
  EXPECT_EQ(calls[0].file, "C:\\P\\B.chm");
  system.ShowTableOfContents("");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].file, "C:\\P\\B.chm");
}

}  // namespace
}  // namespace transzendal::app
