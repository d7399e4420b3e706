#include "app/settings/RegistryText.h"

#include "base/FileName.h"

#include <charconv>
#include <string_view>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view OldHeader = "REGEDIT4";
constexpr std::string_view Root = "HKEY_CURRENT_USER";
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char C) {
    return C == ' ' || C == '\t';
}

std::string_view TrimRight(std::string_view Text) {
    while (!Text.empty() && (IsBlank(Text.back()) || Text.back() == '\r'))
        Text.remove_suffix(1);
    return Text;
}

std::string_view TrimLeft(std::string_view Text) {
    while (!Text.empty() && IsBlank(Text.front()))
        Text.remove_prefix(1);
    return Text;
}

bool StartsWithNoCase(std::string_view Text, std::string_view Start) {
    return Text.size() >= Start.size() &&
           SameTextAscii(std::string(Text.substr(0, Start.size())), std::string(Start));
}

// Reads the lines of a text one by one, numbering them for error messages.
class TLineReader {
public:
    explicit TLineReader(std::string_view Text) : FText(Text) {}

    bool AtEnd() const { return FNext > FText.size(); }

    // The next line without its line end and trailing blanks.
    std::string_view Next() {
        const std::size_t End = std::min(FText.find('\n', FNext), FText.size());
        const std::string_view Line = FText.substr(FNext, End - FNext);
        FNext = End + 1;
        ++FNumber;
        return TrimRight(Line);
    }

    [[noreturn]] void Fail(const std::string& What) const {
        throw ERegistryTextError("line " + std::to_string(FNumber) + ": " + What);
    }

private:
    std::string_view FText;
    std::size_t FNext = 0;
    int FNumber = 0;
};

// Parses hex digits (1 to MaxDigits of them, the whole of Text) into Number.
bool ParseHex(std::string_view Text, std::size_t MaxDigits, std::uint32_t& Number) {
    if (Text.empty() || Text.size() > MaxDigits)
        return false;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Number, 16);
    return Error == std::errc{} && End == Text.data() + Text.size();
}

// Parses the quoted string at the start of Text (escapes \\ and \"); Text is left after it.
std::string ParseQuoted(std::string_view& Text, const TLineReader& Lines) {
    std::string Result;
    std::size_t i = 1;
    for (; i < Text.size() && Text[i] != '"'; ++i) {
        if (Text[i] == '\\') {
            if (i + 1 >= Text.size() || (Text[i + 1] != '\\' && Text[i + 1] != '"'))
                Lines.Fail("unknown escape in a quoted name or string");
            ++i;
        }
        Result += Text[i];
    }
    if (i >= Text.size())
        Lines.Fail("a quoted name or string is not closed");
    Text.remove_prefix(i + 1);
    return Result;
}

// Parses the comma-separated bytes of hex data, following continuation lines ending in "\".
std::vector<std::uint8_t> ParseHexBytes(std::string_view Text, TLineReader& Lines) {
    std::string Joined;
    while (!Text.empty() && Text.back() == '\\') {
        Joined += Text.substr(0, Text.size() - 1);
        if (Lines.AtEnd())
            Lines.Fail("hex data continue past the end of the file");
        Text = TrimLeft(Lines.Next());
    }
    Joined += Text;
    std::vector<std::uint8_t> Bytes;
    if (TrimLeft(Joined).empty())
        return Bytes;
    std::string_view Rest = Joined;
    while (true) {
        const std::size_t Comma = std::min(Rest.find(','), Rest.size());
        std::uint32_t Byte = 0;
        if (!ParseHex(TrimRight(TrimLeft(Rest.substr(0, Comma))), 2, Byte))
            Lines.Fail("hex data must be bytes of two hex digits separated by commas");
        Bytes.push_back(static_cast<std::uint8_t>(Byte));
        if (Comma == Rest.size())
            return Bytes;
        Rest.remove_prefix(Comma + 1);
    }
}

TRegistryValue ParseData(std::string_view Text, TLineReader& Lines) {
    if (!Text.empty() && Text.front() == '"') {
        const std::string String = ParseQuoted(Text, Lines);
        if (!Text.empty())
            Lines.Fail("text after the closing quote of a string");
        TRegistryValue Value{RegSz, {String.begin(), String.end()}};
        Value.Data.push_back(0);
        return Value;
    }
    if (StartsWithNoCase(Text, "dword:")) {
        std::uint32_t Number = 0;
        if (!ParseHex(Text.substr(6), 8, Number))
            Lines.Fail("a dword must be 1 to 8 hex digits");
        return {RegDword,
                {static_cast<std::uint8_t>(Number), static_cast<std::uint8_t>(Number >> 8),
                 static_cast<std::uint8_t>(Number >> 16), static_cast<std::uint8_t>(Number >> 24)}};
    }
    if (StartsWithNoCase(Text, "hex:"))
        return {RegBinary, ParseHexBytes(Text.substr(4), Lines)};
    if (StartsWithNoCase(Text, "hex(")) {
        const std::size_t Close = Text.find("):");
        std::uint32_t Type = 0;
        if (Close == std::string_view::npos || !ParseHex(Text.substr(4, Close - 4), 8, Type))
            Lines.Fail("a typed hex value must start with hex(<type>):");
        return {Type, ParseHexBytes(Text.substr(Close + 2), Lines)};
    }
    if (Text == "-")
        Lines.Fail("deleting values is not supported here");
    Lines.Fail("unknown kind of value data");
}

// The path below HKEY_CURRENT_USER named by the inside of a key line.
std::string ParseKeyPath(std::string_view Inside, const TLineReader& Lines) {
    if (!Inside.empty() && Inside.front() == '-')
        Lines.Fail("deleting keys is not supported here");
    const std::size_t Delimiter = std::min(Inside.find('\\'), Inside.size());
    if (!SameTextAscii(std::string(Inside.substr(0, Delimiter)), std::string(Root)))
        Lines.Fail("only keys of HKEY_CURRENT_USER can be kept here");
    if (Delimiter == Inside.size())
        return {};
    const std::string_view Path = Inside.substr(Delimiter + 1);
    if (Path.empty() || Path.front() == '\\' || Path.back() == '\\' ||
        Path.find("\\\\") != std::string_view::npos)
        Lines.Fail("a key path has an empty part");
    return std::string(Path);
}

TRegistryKeyContent& KeyFor(TRegistryContent& Content, const std::string& Path) {
    if (TRegistryKeyContent* Existing = FindRegistryKey(Content, Path))
        return *Existing;
    return Content.emplace_back(TRegistryKeyContent{Path, {}});
}

char HexDigit(unsigned Value) {
    return "0123456789abcdef"[Value & 15];
}

std::string HexNumber(std::uint32_t Number, int MinDigits) {
    std::string Digits;
    do {
        Digits.insert(Digits.begin(), HexDigit(Number));
        Number >>= 4;
    } while (Number != 0 || static_cast<int>(Digits.size()) < MinDigits);
    return Digits;
}

std::string Quoted(const std::string& Text) {
    std::string Result = "\"";
    for (const char C : Text) {
        if (C == '\\' || C == '"')
            Result += '\\';
        Result += C;
    }
    return Result + '"';
}

bool IsPlainString(const std::vector<std::uint8_t>& Data) {
    if (Data.empty() || Data.back() != 0)
        return false;
    for (std::size_t i = 0; i + 1 < Data.size(); ++i)
        if (Data[i] == 0 || Data[i] == '\r' || Data[i] == '\n')
            return false;
    return true;
}

std::string FormatData(const TRegistryValue& Value) {
    const auto& Data = Value.Data;
    if (Value.Type == RegDword && Data.size() == 4)
        return "dword:" + HexNumber(std::uint32_t{Data[0]} | std::uint32_t{Data[1]} << 8 |
                                        std::uint32_t{Data[2]} << 16 | std::uint32_t{Data[3]} << 24,
                                    8);
    if (Value.Type == RegSz && IsPlainString(Data))
        return Quoted(std::string(Data.begin(), Data.end() - 1));
    std::string Text = Value.Type == RegBinary ? "hex:" : "hex(" + HexNumber(Value.Type, 1) + "):";
    for (std::size_t i = 0; i < Data.size(); ++i) {
        if (i > 0)
            Text += ',';
        Text += HexNumber(Data[i], 2);
    }
    return Text;
}

} // namespace

TRegistryContent ParseRegistryText(const std::string& Text) {
    std::string_view Rest = Text;
    if (Rest.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
        Rest.remove_prefix(Utf8ByteOrderMark.size());
    TLineReader Lines(Rest);
    std::string_view Line;
    do {
        if (Lines.AtEnd())
            Lines.Fail("the header line \"" + std::string(Header) + "\" is missing");
        Line = Lines.Next();
    } while (Line.empty());
    if (Line != Header && Line != OldHeader)
        Lines.Fail("the first line must be \"" + std::string(Header) + "\"");

    TRegistryContent Content;
    TRegistryKeyContent* CurrentKey = nullptr;
    while (!Lines.AtEnd()) {
        Line = Lines.Next();
        if (Line.empty() || Line.front() == ';')
            continue;
        if (Line.front() == '[') {
            if (Line.back() != ']')
                Lines.Fail("a key line must end in ]");
            CurrentKey = &KeyFor(Content, ParseKeyPath(Line.substr(1, Line.size() - 2), Lines));
            continue;
        }
        if (Line.front() != '"' && Line.front() != '@')
            Lines.Fail("expected a key in brackets or a value");
        if (CurrentKey == nullptr)
            Lines.Fail("a value before the first key");
        std::string Name;
        if (Line.front() == '@')
            Line.remove_prefix(1);
        else
            Name = ParseQuoted(Line, Lines);
        if (Line.empty() || Line.front() != '=')
            Lines.Fail("expected = after the value name");
        Line.remove_prefix(1);
        SetRegistryValue(*CurrentKey, Name, ParseData(Line, Lines));
    }
    return Content;
}

std::string FormatRegistryText(const TRegistryContent& Content) {
    std::string Text(Header);
    Text += '\n';
    for (const TRegistryKeyContent& Key : Content) {
        Text += "\n[" + std::string(Root) + (Key.Path.empty() ? "" : "\\" + Key.Path) + "]\n";
        for (const TRegistryNamedValue& Value : Key.Values)
            Text += (Value.Name.empty() ? "@" : Quoted(Value.Name)) + "=" +
                    FormatData(Value.Value) + "\n";
    }
    return Text;
}

bool IsRepresentableRegistryName(const std::string& Name) {
    return Name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

TRegistryKeyContent* FindRegistryKey(TRegistryContent& Content, const std::string& Path) {
    for (TRegistryKeyContent& Key : Content)
        if (SameTextAscii(Key.Path, Path))
            return &Key;
    return nullptr;
}

TRegistryNamedValue* FindRegistryValue(TRegistryKeyContent& Key, const std::string& Name) {
    for (TRegistryNamedValue& Value : Key.Values)
        if (SameTextAscii(Value.Name, Name))
            return &Value;
    return nullptr;
}

void SetRegistryValue(TRegistryKeyContent& Key, const std::string& Name,
                      const TRegistryValue& Value) {
    if (TRegistryNamedValue* Existing = FindRegistryValue(Key, Name))
        Existing->Value = Value;
    else
        Key.Values.push_back({Name, Value});
}
