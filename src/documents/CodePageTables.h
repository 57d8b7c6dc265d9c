#pragma once

#include <array>

namespace tikmeter::documents::detail {

using CodePageTable = std::array<char16_t, 256>;

extern const CodePageTable kCodePage874;
extern const CodePageTable kCodePage1250;
extern const CodePageTable kCodePage1251;
extern const CodePageTable kCodePage1252;
extern const CodePageTable kCodePage1253;
extern const CodePageTable kCodePage1254;
extern const CodePageTable kCodePage1255;
extern const CodePageTable kCodePage1256;
extern const CodePageTable kCodePage1257;
extern const CodePageTable kCodePage1258;

} // namespace tikmeter::documents::detail
