#include "documents/RtfKeywords.h"

#include <algorithm>
#include <array>

namespace tikmeter::documents::rtf {

namespace {

constexpr Keyword destination(std::string_view name, Destination destination) {
    return {name, KeywordKind::Destination, static_cast<std::uint8_t>(destination)};
}
constexpr Keyword skip(std::string_view name) {
    return destination(name, Destination::Skip);
}
constexpr Keyword toggle(std::string_view name, Toggle toggle) {
    return {name, KeywordKind::Toggle, static_cast<std::uint8_t>(toggle), 1};
}
// A word that always switches its property off, whatever its parameter.
constexpr Keyword switchOff(std::string_view name, Toggle toggle) {
    return {name, KeywordKind::Toggle, static_cast<std::uint8_t>(toggle), 0, true};
}
constexpr Keyword value(std::string_view name, Value value, std::int32_t defaultParam) {
    return {name, KeywordKind::Value, static_cast<std::uint8_t>(value), defaultParam};
}
// A word that always sets its property to the same value, whatever its parameter.
constexpr Keyword fixedValue(std::string_view name, Value value, std::int32_t param) {
    return {name, KeywordKind::Value, static_cast<std::uint8_t>(value), param, true};
}
constexpr Keyword symbol(std::string_view name, char16_t character) {
    return {name, KeywordKind::Symbol, 0, 0, false, character};
}
constexpr Keyword special(std::string_view name, Special special) {
    return {name, KeywordKind::Special, static_cast<std::uint8_t>(special)};
}

// Sorted by name (byte order) for binary search; checked at compile time below.
constexpr auto kKeywords = std::to_array<Keyword>({
    special("\n", Special::ParagraphEnd),
    special("\r", Special::ParagraphEnd),
    special("*", Special::Ignorable),
    symbol("-", 0x00AD),
    symbol("\\", u'\\'),
    symbol("_", 0x2011),
    skip("aftncn"),
    skip("aftnsep"),
    skip("aftnsepc"),
    skip("annotation"),
    value("ansicpg", Value::AnsiCodePage, 1252),
    skip("atnauthor"),
    skip("atndate"),
    skip("atnicn"),
    skip("atnid"),
    skip("atnparent"),
    skip("atnref"),
    skip("atntime"),
    skip("atrfend"),
    skip("atrfstart"),
    skip("author"),
    toggle("b", Toggle::Bold),
    skip("background"),
    skip("bkmkend"),
    skip("bkmkstart"),
    skip("blipuid"),
    value("blue", Value::Blue, 0),
    symbol("bullet", 0x2022),
    skip("buptim"),
    skip("category"),
    value("cb", Value::BackColor, 0),
    symbol("cell", 0x0009),
    value("cf", Value::TextColor, 0),
    value("chcbpat", Value::BackColor, 0),
    skip("colorschememapping"),
    destination("colortbl", Destination::ColorTable),
    skip("comment"),
    skip("company"),
    skip("creatim"),
    skip("datafield"),
    skip("datastore"),
    skip("defchp"),
    value("deff", Value::DefaultFont, 0),
    skip("defpap"),
    skip("do"),
    skip("doccomm"),
    skip("docvar"),
    skip("dptxbxtext"),
    skip("ebcend"),
    skip("ebcstart"),
    symbol("emdash", 0x2014),
    symbol("emspace", 0x2003),
    symbol("endash", 0x2013),
    symbol("enspace", 0x2002),
    value("f", Value::Font, 0),
    skip("factoidname"),
    skip("falt"),
    skip("fchars"),
    value("fcharset", Value::FontCharset, 0),
    skip("ffdeftext"),
    skip("ffentrymcr"),
    skip("ffexitmcr"),
    skip("ffformat"),
    skip("ffhelptext"),
    skip("ffl"),
    skip("ffname"),
    skip("ffstattext"),
    skip("file"),
    skip("filetbl"),
    skip("fldinst"),
    skip("fldtype"),
    skip("fname"),
    skip("fontemb"),
    skip("fontfile"),
    destination("fonttbl", Destination::FontTable),
    skip("footer"),
    skip("footerf"),
    skip("footerl"),
    skip("footerr"),
    skip("footnote"),
    skip("formfield"),
    value("fs", Value::FontSize, 24),
    skip("ftncn"),
    skip("ftnsep"),
    skip("ftnsepc"),
    skip("generator"),
    value("green", Value::Green, 0),
    skip("gridtbl"),
    skip("header"),
    skip("headerf"),
    skip("headerl"),
    skip("headerr"),
    value("highlight", Value::BackColor, 0),
    skip("hl"),
    skip("hlfr"),
    skip("hlinkbase"),
    skip("hlloc"),
    skip("hlsrc"),
    skip("hsv"),
    skip("htmltag"),
    toggle("i", Toggle::Italic),
    skip("info"),
    skip("keycode"),
    skip("keywords"),
    skip("latentstyles"),
    skip("lchars"),
    symbol("ldblquote", 0x201C),
    skip("levelnumbers"),
    skip("leveltext"),
    skip("lfolevel"),
    special("line", Special::LineBreak),
    skip("linkval"),
    skip("list"),
    skip("listlevel"),
    skip("listname"),
    skip("listoverride"),
    skip("listoverridetable"),
    skip("listpicture"),
    skip("liststylename"),
    skip("listtable"),
    skip("listtext"),
    symbol("lquote", 0x2018),
    skip("lsdlockedexcept"),
    symbol("ltrmark", 0x200E),
    fixedValue("mac", Value::AnsiCodePage, 10000), // Mac Roman
    skip("macc"),
    skip("maccPr"),
    skip("mailmerge"),
    skip("manager"),
    skip("mhtmltag"),
    symbol("nestcell", 0x0009),
    skip("nesttableprops"),
    skip("nextfile"),
    skip("nonesttables"),
    skip("nonshppict"),
    skip("objalias"),
    skip("objclass"),
    skip("objdata"),
    skip("object"),
    skip("objname"),
    skip("objsect"),
    skip("objtime"),
    skip("oldcprops"),
    skip("oldpprops"),
    skip("oldsprops"),
    skip("oldtprops"),
    skip("oleclsid"),
    skip("operator"),
    special("page", Special::ParagraphEnd),
    skip("panose"),
    special("par", Special::ParagraphEnd),
    skip("password"),
    skip("passwordhash"),
    skip("pgdsctbl"),
    skip("picprop"),
    skip("pict"),
    special("plain", Special::Plain),
    skip("pn"),
    skip("pnseclvl"),
    skip("pntext"),
    skip("pntxta"),
    skip("pntxtb"),
    skip("printim"),
    skip("private"),
    skip("propname"),
    skip("protend"),
    skip("protstart"),
    skip("protusertbl"),
    skip("pxe"),
    symbol("qmspace", 0x2005),
    symbol("rdblquote", 0x201D),
    value("red", Value::Red, 0),
    skip("revtbl"),
    skip("revtim"),
    special("row", Special::ParagraphEnd),
    symbol("rquote", 0x2019),
    skip("rsidtbl"),
    symbol("rtlmark", 0x200F),
    skip("rxe"),
    special("sect", Special::ParagraphEnd),
    skip("shp"),
    skip("shpgrp"),
    skip("shpinst"),
    skip("shppict"),
    skip("shprslt"),
    skip("shptxt"),
    skip("sn"),
    skip("sp"),
    skip("staticval"),
    skip("stylesheet"),
    skip("subject"),
    skip("sv"),
    skip("svb"),
    symbol("tab", 0x0009),
    skip("tc"),
    skip("template"),
    skip("themedata"),
    skip("title"),
    skip("txe"),
    special("u", Special::Unicode),
    value("uc", Value::UnicodeSkip, 1),
    toggle("ul", Toggle::Underline),
    toggle("uld", Toggle::Underline),
    toggle("uldash", Toggle::Underline),
    toggle("uldashd", Toggle::Underline),
    toggle("uldashdd", Toggle::Underline),
    toggle("uldb", Toggle::Underline),
    toggle("ulhwave", Toggle::Underline),
    toggle("ulldash", Toggle::Underline),
    switchOff("ulnone", Toggle::Underline),
    toggle("ulth", Toggle::Underline),
    toggle("ulthd", Toggle::Underline),
    toggle("ulthdash", Toggle::Underline),
    toggle("ulthdashd", Toggle::Underline),
    toggle("ulthdashdd", Toggle::Underline),
    toggle("ulthldash", Toggle::Underline),
    toggle("ululdbwave", Toggle::Underline),
    toggle("ulw", Toggle::Underline),
    toggle("ulwave", Toggle::Underline),
    skip("userprops"),
    skip("wgrffmtfilter"),
    skip("windowcaption"),
    skip("writereservation"),
    skip("writereservhash"),
    skip("xe"),
    skip("xform"),
    skip("xmlattrname"),
    skip("xmlattrvalue"),
    skip("xmlclose"),
    skip("xmlname"),
    skip("xmlnstbl"),
    skip("xmlopen"),
    symbol("zwbo", 0x200B),
    symbol("zwj", 0x200D),
    symbol("zwnj", 0x200C),
    symbol("{", u'{'),
    symbol("}", u'}'),
    symbol("~", 0x00A0),
});

constexpr bool isSorted() {
    for (std::size_t i = 1; i < kKeywords.size(); ++i) {
        if (!(kKeywords[i - 1].name < kKeywords[i].name)) {
            return false;
        }
    }
    return true;
}
static_assert(isSorted(), "the keyword table must be sorted by name");

} // namespace

const Keyword* findKeyword(std::string_view name) {
    const auto it = std::lower_bound(
        kKeywords.begin(), kKeywords.end(), name,
        [](const Keyword& entry, std::string_view key) { return entry.name < key; });
    if (it != kKeywords.end() && it->name == name) {
        return &*it;
    }
    return nullptr;
}

} // namespace tikmeter::documents::rtf
