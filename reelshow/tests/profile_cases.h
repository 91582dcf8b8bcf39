#pragma once
// One table of settings files and queries, run through the portable profile
// functions by the native tests and through both the portable and the
// platform's functions by the Wine probe. The expected values are what the
// platform's functions answer.
#include <cstddef>
#include <ostream>

namespace reelshow::profile_cases {

struct ReadCase {
  const char* name;
  const char* text;     // file contents; null: no file
  const char* section;
  const char* key;
  const char* def;
  std::size_t buffer;   // 0: the settings file's 2,048
  const char* expected; // null: 3,000 'x' cut to buffer - 1
};

inline constexpr ReadCase kReads[] = {
    {"plain", "[Options]\r\nColor=2\r\n", "Options", "Color", "d", 0, "2"},
    {"section-upper", "[VIDCONFIG]\r\nName1=C:\\a.avi\r\n", "vidConfig", "Name1", " ", 0, "C:\\a.avi"},
    {"section-lower", "[vidconfig]\r\nName1=C:\\a.avi\r\n", "vidConfig", "Name1", " ", 0, "C:\\a.avi"},
    {"key-case", "[Options]\r\nCOLOR=3\r\n", "Options", "color", "d", 0, "3"},
    {"blanks-around", "[Options]\r\n  Color  =  4  \r\n", "Options", "Color", "d", 0, "4"},
    {"tabs-around", "[Options]\r\n\tColor\t=\t5\t\r\n", "Options", "Color", "d", 0, "5"},
    {"queried-name-blanks", "[Options]\r\nColor=2\r\n", " Options ", " Color ", "d", 0, "2"},
    {"inner-blanks-kept", "[Options]\r\nSite=a  b\r\n", "Options", "Site", "d", 0, "a  b"},
    {"double-quotes", "[V]\r\nName1=\"C:\\a b.avi\"\r\n", "V", "Name1", "d", 0, "C:\\a b.avi"},
    {"single-quotes", "[V]\r\nName1='x'\r\n", "V", "Name1", "d", 0, "x"},
    {"quoted-blanks", "[V]\r\nName1 = \" spaced \" \r\n", "V", "Name1", "d", 0, " spaced "},
    {"mismatched-quotes", "[V]\r\nName1=\"x'\r\n", "V", "Name1", "d", 0, "\"x'"},
    {"lone-quote", "[V]\r\nName1=\"\r\n", "V", "Name1", "d", 0, "\""},
    {"comment-line", "[Options]\r\n;Color=9\r\nColor=2\r\n", "Options", "Color", "d", 0, "2"},
    {"comment-only", "[Options]\r\n;Color=9\r\n", "Options", "Color", "d", 0, "d"},
    {"indented-comment", "[Options]\r\n  ;Color=9\r\n", "Options", "Color", "d", 0, "d"},
    {"hash-not-comment", "[Options]\r\n#Color=9\r\n", "Options", "#Color", "d", 0, "9"},
    {"inline-semicolon", "[Options]\r\nColor=2 ;note\r\n", "Options", "Color", "d", 0, "2 ;note"},
    {"repeated-key", "[Options]\r\nColor=1\r\nColor=2\r\n", "Options", "Color", "d", 0, "1"},
    {"repeated-section", "[Options]\r\nColor=1\r\n[Other]\r\nX=1\r\n[Options]\r\nColor=2\r\nSound=0\r\n",
     "Options", "Color", "d", 0, "1"},
    {"repeated-section-second-only", "[Options]\r\nColor=1\r\n[Options]\r\nSound=0\r\n", "Options", "Sound",
     "d", 0, "d"},
    {"empty-value", "[Options]\r\nColor=\r\n", "Options", "Color", "d", 0, ""},
    {"missing-key", "[Options]\r\nColor=1\r\n", "Options", "Picdis", "dflt", 0, "dflt"},
    {"missing-section", "[Options]\r\nColor=1\r\n", "Link", "Button", "", 0, ""},
    {"missing-file", nullptr, "Options", "Color", "d", 0, "d"},
    {"default-trailing-blanks", "[Options]\r\n", "Options", "Color", "abc  ", 0, "abc"},
    {"default-single-blank", "[Options]\r\n", "vidConfig", "Name1", " ", 0, " "},
    {"long-value", "LONG", "V", "Name1", "d", 0, nullptr},
    {"small-buffer", "[V]\r\nName1=abcdef\r\n", "V", "Name1", "d", 4, "abc"},
    {"no-final-newline", "[Options]\r\nColor=7", "Options", "Color", "d", 0, "7"},
    {"lf-endings", "[Options]\nColor=8\nSound=0\n", "Options", "Sound", "d", 0, "0"},
    // A line without "=" names a key that has no value: the default comes back.
    {"key-without-equals", "[Options]\r\nColor\r\n", "Options", "Color", "d", 0, "d"},
    {"equals-in-value", "[Link]\r\nSite=http://h/?a=b\r\n", "Link", "Site", "", 0, "http://h/?a=b"},
    {"key-before-sections", "Color=5\r\n[Options]\r\n", "Options", "Color", "d", 0, "d"},
    {"section-trailing-text", "[Options] junk\r\nColor=6\r\n", "Options", "Color", "d", 0, "6"},
    {"section-inner-blanks", "[ Options ]\r\nColor=6\r\n", "Options", "Color", "d", 0, "6"},
    {"key-in-next-section", "[Options]\r\n[Link]\r\nColor=6\r\n", "Options", "Color", "d", 0, "d"},
    {"blank-lines", "\r\n\r\n[Options]\r\n\r\nColor=3\r\n\r\n", "Options", "Color", "d", 0, "3"},
};

inline void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

// A write into a file, then the probe keys read back: each probe is
// "section/key=expected", where the expected value "<missing>" means the key
// is not there (the default "<missing>" comes back).
struct WriteCase {
  const char* name;
  const char* text;  // null: no file before the write
  const char* section;
  const char* key;
  const char* value;
  const char* probes[6];  // null ends the list
};

inline constexpr WriteCase kWrites[] = {
    {"replace", "[Options]\r\nSound=1\r\nColor=2\r\n", "Options", "Color", "4",
     {"Options/Sound=1", "Options/Color=4", nullptr}},
    {"add-key-before-next-section", "[Options]\r\nSound=1\r\n\r\n[VidConfig]\r\nName1=x\r\n", "Options",
     "Picdis", "3", {"Options/Picdis=3", "Options/Sound=1", "VidConfig/Name1=x", "VidConfig/Picdis=<missing>", nullptr}},
    {"add-section", "[VidConfig]\r\nName1=x\r\n", "Options", "Color", "1",
     {"Options/Color=1", "VidConfig/Name1=x", nullptr}},
    {"new-file", nullptr, "Options", "Sound", "1", {"Options/Sound=1", "Options/Color=<missing>", nullptr}},
    {"case-insensitive-match", "[OPTIONS]\r\nCOLOR=2\r\n", "Options", "Color", "3",
     {"OPTIONS/COLOR=3", "options/color=3", nullptr}},
    {"first-of-repeated", "[Options]\r\nColor=1\r\nColor=2\r\n", "Options", "Color", "5",
     {"Options/Color=5", nullptr}},
    {"empty-value", "[Options]\r\nColor=2\r\n", "Options", "Color", "", {"Options/Color=", nullptr}},
    {"keeps-comments-and-others", "; shipped\r\n[Options]\r\n;old\r\nSound=0\r\n[Link]\r\nSite=x\r\n",
     "Options", "Status", "0", {"Options/Status=0", "Options/Sound=0", "Link/Site=x", nullptr}},
};

inline void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

// Splits "section/key=expected".
struct Probe {
  const char* text;
  const char* Slash() const { const char* p = text; while (*p && *p != '/') ++p; return p; }
  const char* Equals() const { const char* p = Slash(); while (*p && *p != '=') ++p; return p; }
};

}  // namespace reelshow::profile_cases
