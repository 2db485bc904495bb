// Reading dates and times from text: the fixed forms listed in the header.

#include "platform/base/COleDateTime.h"

#include "platform/base/calendar_p.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Token {
    enum Kind { Number, Word, Sep } kind = Number;
    int value = 0;     // Number: its value; Word: month 1-12, 0 for others
    int digits = 0;    // Number: count of digits
    std::string text;  // Word: upper case; Sep: the character
};

const char* const kMonths[] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                               "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const char* const kWeekdays[] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"};

// A month as its full English name or its first three letters ("Sept" too).
int MonthOf(const std::string& w)
{
    for (int i = 0; i < 12; ++i) {
        const std::string full = kMonths[i];
        if (w == full || w == full.substr(0, 3) || (i == 8 && w == "SEPT"))
            return i + 1;
    }
    return 0;
}

bool IsWeekday(const std::string& w)
{
    for (const char* d : kWeekdays) {
        const std::string full = d;
        if (w == full || w == full.substr(0, 3))
            return true;
    }
    return false;
}

bool Tokenize(const char* text, std::vector<Token>& out)
{
    const char* p = text;
    while (*p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (std::isspace(c) || c == ',') {
            ++p;
        } else if (std::isdigit(c)) {
            Token t;
            t.kind = Token::Number;
            while (std::isdigit(static_cast<unsigned char>(*p))) {
                if (t.digits >= 9)  // longer than any part: refuse
                    return false;
                t.value = t.value * 10 + (*p - '0');
                ++t.digits;
                ++p;
            }
            out.push_back(t);
        } else if (std::isalpha(c) && c < 0x80) {
            Token t;
            t.kind = Token::Word;
            while (std::isalpha(static_cast<unsigned char>(*p)) && static_cast<unsigned char>(*p) < 0x80)
                t.text += static_cast<char>(std::toupper(static_cast<unsigned char>(*p++)));
            t.value = MonthOf(t.text);
            out.push_back(t);
        } else if (c == '-' || c == '/' || c == '.' || c == ':') {
            Token t;
            t.kind = Token::Sep;
            t.text = static_cast<char>(c);
            out.push_back(t);
            ++p;
        } else {
            return false;
        }
    }
    return true;
}

bool IsSep(const std::vector<Token>& t, size_t i, char c)
{
    return i < t.size() && t[i].kind == Token::Sep && t[i].text[0] == c;
}

bool IsNum(const std::vector<Token>& t, size_t i)
{
    return i < t.size() && t[i].kind == Token::Number;
}

bool IsWord(const std::vector<Token>& t, size_t i, const char* w)
{
    return i < t.size() && t[i].kind == Token::Word && t[i].text == w;
}

// Takes "h:mm[:ss[.fff]] [AM|PM]" out of the tokens, wherever it stands.
// Returns false on a malformed time; found tells whether there was one.
bool TakeTime(std::vector<Token>& t, bool& found, int& h, int& mi, int& s)
{
    found = false;
    for (size_t i = 0; i + 2 < t.size(); ++i) {
        if (!(IsNum(t, i) && IsSep(t, i + 1, ':') && IsNum(t, i + 2)))
            continue;
        size_t end = i + 3;
        h = t[i].value;
        mi = t[i + 2].value;
        s = 0;
        if (t[i].digits > 2 || t[i + 2].digits != 2)
            return false;
        if (IsSep(t, end, ':')) {
            if (!IsNum(t, end + 1) || t[end + 1].digits != 2)
                return false;
            s = t[end + 1].value;
            end += 2;
            if (IsSep(t, end, '.') && IsNum(t, end + 1))
                end += 2;  // fractions of a second are dropped
        }
        if (IsWord(t, end, "AM") || IsWord(t, end, "PM") || IsWord(t, end, "A") || IsWord(t, end, "P")) {
            const bool pm = t[end].text[0] == 'P';
            if (h < 1 || h > 12)
                return false;
            h = (h % 12) + (pm ? 12 : 0);
            ++end;
        }
        if (IsSep(t, end, ':'))
            return false;
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(i), t.begin() + static_cast<std::ptrdiff_t>(end));
        found = true;
        return true;
    }
    return true;
}

// Two digits are 1930-2029; three or four are the year as written.
int FullYear(const Token& t)
{
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

// Reads the date from what is left once the time is out; the tokens must be
// used up exactly.
bool TakeDate(std::vector<Token>& t, bool& found, int& y, int& mo, int& d)
{
    found = false;
    if (!t.empty() && t[0].kind == Token::Word && t[0].value == 0 && IsWeekday(t[0].text))
        t.erase(t.begin());
    if (t.empty())
        return true;
    // Drop the "T" between an ISO date and its time.
    if (t.size() == 6 && IsWord(t, 5, "T"))
        t.pop_back();

    // Numbers separated by one and the same separator.
    if (t.size() == 5 && IsNum(t, 0) && IsNum(t, 2) && IsNum(t, 4) && t[1].kind == Token::Sep && t[3].kind == Token::Sep
        && t[1].text == t[3].text && t[1].text != ":") {
        const char sep = t[1].text[0];
        if (t[0].digits == 4 || t[0].digits == 3) {  // years before 1000 print with three
            y = t[0].value;
            mo = t[2].value;
            d = t[4].value;
            if (t[2].digits > 2 || t[4].digits > 2)
                return false;
        } else if (t[4].digits >= 2 && t[4].digits <= 4) {
            if (t[0].digits > 2 || t[2].digits > 2)
                return false;
            y = FullYear(t[4]);
            if (sep == '.') {
                d = t[0].value;
                mo = t[2].value;
            } else {
                mo = t[0].value;
                d = t[2].value;
            }
        } else {
            return false;
        }
        found = true;
        return true;
    }

    // A month name with a day and a year, in any order, separated by blanks
    // or by one separator ("05-Jan-2024").
    std::vector<Token> parts;
    char sep = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == Token::Sep) {
            const char c = t[i].text[0];
            if (c == ':' || (sep && sep != c) || i == 0 || i + 1 == t.size() || t[i - 1].kind == Token::Sep)
                return false;
            sep = c;
            continue;
        }
        parts.push_back(t[i]);
    }
    if (parts.size() != 3)
        return false;
    int monthIndex = -1;
    for (size_t i = 0; i < 3; ++i) {
        if (parts[i].kind == Token::Word) {
            if (parts[i].value == 0 || monthIndex >= 0)
                return false;
            monthIndex = static_cast<int>(i);
        }
    }
    if (monthIndex < 0)
        return false;
    std::vector<Token> nums;
    for (size_t i = 0; i < 3; ++i)
        if (static_cast<int>(i) != monthIndex)
            nums.push_back(parts[i]);
    mo = parts[static_cast<size_t>(monthIndex)].value;
    // The year is the number of three or four digits, else the last one.
    size_t yi = (nums[0].digits >= 3 && nums[1].digits < 3) ? 0 : 1;
    const Token& dayTok = nums[1 - yi];
    if (dayTok.digits > 2 || nums[yi].digits < 2 || nums[yi].digits > 4)
        return false;
    y = FullYear(nums[yi]);
    d = dayTok.value;
    found = true;
    return true;
}

}  // namespace

bool COleDateTime::ParseDateTime(const char* lpszDate, DWORD dwFlags, LCID)
{
    m_ms = 0;
    m_status = invalid;
    if (!lpszDate)
        return false;
    std::vector<Token> tokens;
    if (!Tokenize(lpszDate, tokens) || tokens.empty())
        return false;
    bool hasTime = false, hasDate = false;
    int h = 0, mi = 0, s = 0, y = 1899, mo = 12, d = 30;
    if (!TakeTime(tokens, hasTime, h, mi, s))
        return false;
    if (!TakeDate(tokens, hasDate, y, mo, d))
        return false;
    if (!hasTime && !hasDate)
        return false;
    if (!vxbase::cal::ValidParts(y, mo, d, h, mi, s))
        return false;
    if (dwFlags & VAR_DATEVALUEONLY)
        h = mi = s = 0;
    if (dwFlags & VAR_TIMEVALUEONLY) {
        y = 1899;
        mo = 12;
        d = 30;
    }
    return SetDateTime(y, mo, d, h, mi, s) == 0;
}
