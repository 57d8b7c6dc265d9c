#pragma once

#include "TempFolder.h"
#include "documents/Document.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tikmeter::documents::test {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;

inline std::filesystem::path dataDir() {
    return TIKMETER_TEST_DATA_DIR;
}

// A document read from RTF code (throws DocumentError like setRtf).
inline Document fromRtf(std::string_view code) {
    Document document;
    document.setRtf(code);
    return document;
}

// Names parameterised tests after the `name` of their rows.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

// The format of every character, "|" between characters: "-" for the default format, else b(old)
// i(talic) u(nderline), s<half points>, c<text RGB>, h<background RGB>, f<font name>. Checks on the
// way that the runs cover the text without gaps and that neighbours differ.
inline std::string formatsOf(const Document& document) {
    std::size_t next = 0;
    const std::vector<FormatRun> runs = document.runs();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].start, next);
        EXPECT_GT(runs[i].length, 0u);
        EXPECT_TRUE(i == 0 || !(runs[i].format == runs[i - 1].format)) << "run " << i;
        next += runs[i].length;
    }
    EXPECT_EQ(next, document.text().size());
    std::string out;
    for (std::size_t i = 0; i < document.text().size(); ++i) {
        const CharFormat f = document.formatAt(i);
        std::string one =
            std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : "");
        if (f.fontSizeHalfPoints != 0) {
            one += "s" + std::to_string(f.fontSizeHalfPoints);
        }
        for (const auto& [letter, color] : {std::pair{'c', f.textColor}, {'h', f.backColor}}) {
            char hex[8];
            if (color) {
                std::snprintf(hex, sizeof hex, "%c%02x%02x%02x", letter, color->red, color->green,
                              color->blue);
                one += hex;
            }
        }
        one += f.fontName.empty() ? "" : "f" + toUtf8(f.fontName);
        out += (i == 0 ? "" : "|") + (one.empty() ? "-" : one);
    }
    return out;
}

} // namespace tikmeter::documents::test
