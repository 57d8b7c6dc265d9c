#include "engine/HeadlessSessionWindow.h"

#include "documents/PathText.h"

namespace tikmeter::engine {

HeadlessSessionWindow::HeadlessSessionWindow(std::u16string programFolder)
    : programFolder_(std::move(programFolder)) {
    richTextBox1_.setText(u"RichTextBox1");
    richTextBox2_.setText(u"RichTextBox2");
    label9_ = documents::joinPath(programFolder_, text1_);
}

std::u16string HeadlessSessionWindow::sourcePath(Language language) const {
    return language == Language::Afrikaans ? afrikaansSource_ : englishSource_;
}

void HeadlessSessionWindow::setSourcePath(Language language, const std::u16string& path) {
    (language == Language::Afrikaans ? afrikaansSource_ : englishSource_) = path;
}

} // namespace tikmeter::engine
