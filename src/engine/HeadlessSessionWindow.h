#pragma once

#include "engine/SessionWindow.h"

#include <string>
#include <vector>

namespace tikmeter::engine {

// A window without a screen: it holds the three documents, the test list, the labels and
// the shared fields in memory. The command-line tool and the tests run sessions through
// it; subclasses decide how messages and questions are answered.
class HeadlessSessionWindow : public SessionWindow {
public:
    explicit HeadlessSessionWindow(std::u16string programFolder);

    documents::Document& richTextBox1() override { return richTextBox1_; }
    documents::Document& richTextBox2() override { return richTextBox2_; }
    documents::Document& richTextBox3() override { return richTextBox3_; }

    std::vector<std::u16string> testList() const override { return list1_; }
    void setTestList(std::vector<std::u16string> entries) { list1_ = std::move(entries); }

    std::u16string text1() const override { return text1_; }
    void setText1(const std::u16string& text) override { text1_ = text; }
    std::u16string label9() const { return label9_; }
    void setLabel9(const std::u16string& text) override { label9_ = text; }
    std::u16string label3() const override { return label3_; }
    void setLabel3(const std::u16string& text) override { label3_ = text; }
    std::u16string sourcePath(Language language) const override;
    void setSourcePath(Language language, const std::u16string& path) override;

    void showViewer() override { viewerVisible_ = true; }
    void showViewerClearButton() override { viewerClearVisible_ = true; }
    void viewerChanged() override {}
    void letEventsRun() override {}
    void progress(std::size_t done, std::size_t total) override {
        progressDone_ = done;
        progressTotal_ = total;
    }

    ResultFormat resultFormat() const override { return resultFormat_; }
    void setResultFormat(ResultFormat format) { resultFormat_ = format; }

    std::u16string programFolder() const override { return programFolder_; }
    WindowState& state() override { return state_; }

    bool viewerVisible() const { return viewerVisible_; }
    bool viewerClearVisible() const { return viewerClearVisible_; }
    std::size_t progressDone() const { return progressDone_; }
    std::size_t progressTotal() const { return progressTotal_; }

private:
    std::u16string programFolder_;
    documents::Document richTextBox1_;
    documents::Document richTextBox2_;
    documents::Document richTextBox3_;
    std::vector<std::u16string> list1_;
    std::u16string text1_ = u"New Folder";
    std::u16string label9_;
    std::u16string label3_;
    std::u16string afrikaansSource_ = u"(Empty)";
    std::u16string englishSource_ = u"(Empty)";
    bool viewerVisible_ = false;
    bool viewerClearVisible_ = false;
    std::size_t progressDone_ = 0;
    std::size_t progressTotal_ = 0;
    ResultFormat resultFormat_ = ResultFormat::MultipleOf5;
    WindowState state_;
};

} // namespace tikmeter::engine
