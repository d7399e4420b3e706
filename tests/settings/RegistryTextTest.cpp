#include "app/settings/RegistryText.h"
#include "tests/settings/RegistryFileText.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TRegistryValue Dword(std::uint32_t Number) {
    return {RegDword,
            {static_cast<std::uint8_t>(Number), static_cast<std::uint8_t>(Number >> 8),
             static_cast<std::uint8_t>(Number >> 16), static_cast<std::uint8_t>(Number >> 24)}};
}

TRegistryValue String(const std::string& Text) {
    TRegistryValue Value{RegSz, {Text.begin(), Text.end()}};
    Value.Data.push_back(0);
    return Value;
}

std::string Describe(const TRegistryContent& Content) {
    std::string Text;
    for (const auto& Key : Content) {
        Text += "[" + Key.Path + "]";
        for (const auto& Value : Key.Values) {
            Text += " " + Value.Name + ":" + std::to_string(Value.Value.Type) + "=";
            for (const auto Byte : Value.Value.Data)
                Text += std::to_string(Byte) + ",";
        }
        Text += "\n";
    }
    return Text;
}

void ExpectContent(const TRegistryContent& Actual, const TRegistryContent& Expected,
                   const std::string& Context) {
    bool Same = Actual.size() == Expected.size();
    for (std::size_t k = 0; Same && k < Actual.size(); ++k) {
        Same = Actual[k].Path == Expected[k].Path &&
               Actual[k].Values.size() == Expected[k].Values.size();
        for (std::size_t v = 0; Same && v < Actual[k].Values.size(); ++v)
            Same = Actual[k].Values[v].Name == Expected[k].Values[v].Name &&
                   Actual[k].Values[v].Value == Expected[k].Values[v].Value;
    }
    EXPECT_TRUE(Same) << Context << "\nactual:\n"
                      << Describe(Actual) << "expected:\n"
                      << Describe(Expected);
}

TEST(RegistryTextTest, ReadsEveryKindOfValue) {
    const std::string Text = RegistryFileHead + "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n"
                                                "\"Width\"=dword:00000364\n"
                                                "\"Left\"=dword:FFFFFB00\n"
                                                "\"Small\"=dword:7\n"
                                                "\"Title\"=\"say \\\"hi\\\" C:\\\\x\"\n"
                                                "\"Empty\"=\"\"\n"
                                                "@=\"default\"\n"
                                                "\"Raw\"=hex:01,ab,FF\n"
                                                "\"NoBytes\"=hex:\n"
                                                "\"Long\"=hex(b):00,01,02,\\\n"
                                                "  03,04 , 05,\\\n"
                                                "  06,07\n";
    ExpectContent(ParseRegistryText(Text),
                  {{"Software\\Brenlow\\Trayvane",
                    {{"Width", Dword(868)},
                     {"Left", Dword(0xfffffb00u)},
                     {"Small", Dword(7)},
                     {"Title", String("say \"hi\" C:\\x")},
                     {"Empty", String("")},
                     {"", String("default")},
                     {"Raw", {RegBinary, {0x01, 0xab, 0xff}}},
                     {"NoBytes", {RegBinary, {}}},
                     {"Long", {RegQword, {0, 1, 2, 3, 4, 5, 6, 7}}}}}},
                  Text);
}

TEST(RegistryTextTest, ToleratesTheFormsItsWritersUse) {
    struct TCase {
        std::string Text;
        TRegistryContent Expected;
    };
    const TCase Cases[] = {
        // Byte-order mark, CR LF line ends, comments, trailing blanks, the old header.
        {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; settings\r\n"
         "[HKEY_CURRENT_USER\\A]  \r\n\"X\"=dword:00000001\r\n",
         {{"A", {{"X", Dword(1)}}}}},
        {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"X\"=dword:1\n", {{"A", {{"X", Dword(1)}}}}},
        // A repeated key adds to the first, a repeated value replaces it; case does not matter.
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=dword:1\n[HKEY_CURRENT_USER\\B]\n"
                            "[hkey_current_user\\a]\n\"x\"=dword:2\n\"Y\"=dword:3\n",
         {{"A", {{"X", Dword(2)}, {"Y", Dword(3)}}}, {"B", {}}}},
        // The root itself, and a header with nothing after it.
        {RegistryFileHead + "[HKEY_CURRENT_USER]\n\"X\"=dword:1\n", {{"", {{"X", Dword(1)}}}}},
        {"Windows Registry Editor Version 5.00", {}},
    };
    for (const TCase& C : Cases)
        ExpectContent(ParseRegistryText(C.Text), C.Expected, C.Text);
}

TEST(RegistryTextTest, DamagedTextsNameTheLine) {
    const struct {
        std::string Text;
        const char* Message;
    } Cases[] = {
        {"", "line 1: the header line"},
        {"\n\n", "line 3: the header line"},
        {"Windows Registry Editor Version 4.00\n", "line 1: the first line must be"},
        {RegistryFileHead + "\"X\"=dword:1\n", "line 3: a value before the first key"},
        {RegistryFileHead + "[-HKEY_CURRENT_USER\\A]\n", "line 3: deleting keys"},
        {RegistryFileHead + "[HKEY_LOCAL_MACHINE\\A]\n", "line 3: only keys of HKEY_CURRENT_USER"},
        {RegistryFileHead + "[HKEY_CURRENT_USERX\\A]\n", "line 3: only keys of HKEY_CURRENT_USER"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A\\\\B]\n",
         "line 3: a key path has an empty part"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A\\]\n", "line 3: a key path has an empty part"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A\n", "line 3: a key line must end in ]"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=-\n", "line 4: deleting values"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X=dword:1\n",
         "line 4: a quoted name or string is not closed"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\\n\"=dword:1\n", "line 4: unknown escape"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\" = dword:1\n",
         "line 4: expected = after"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\nX=dword:1\n",
         "line 4: expected a key in brackets"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=dword:123456789\n",
         "line 4: a dword must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=dword:\n", "line 4: a dword must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=dword:-1\n", "line 4: a dword must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=dword:12 34\n",
         "line 4: a dword must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=\"a\"b\n",
         "line 4: text after the closing quote"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,,02\n",
         "line 4: hex data must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex:100\n", "line 4: hex data must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,\n", "line 4: hex data must be"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex(zz):01\n",
         "line 4: a typed hex value"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,\\",
         "line 4: hex data continue past"},
        {RegistryFileHead + "[HKEY_CURRENT_USER\\A]\n\"X\"=string\n",
         "line 4: unknown kind of value data"},
    };
    for (const auto& C : Cases) {
        try {
            ParseRegistryText(C.Text);
            ADD_FAILURE() << "accepted:\n" << C.Text;
        } catch (const ERegistryTextError& Error) {
            EXPECT_EQ(Error.Message().rfind(C.Message, 0), 0u)
                << C.Text << "\ngave: " << Error.Message() << "\nexpected: " << C.Message;
        }
    }
}

TEST(RegistryTextTest, WritesTheExportFormat) {
    const TRegistryContent Content = {
        {"Software\\Brenlow\\Trayvane",
         {{"Width", Dword(868)}, {"Left", Dword(0xfffffb00u)}, {"Title", String("a \"b\" \\c")}}},
        {"Other",
         {{"", String("default")},
          {"Raw", {RegBinary, {0x00, 0xff}}},
          {"Short", {RegDword, {1, 2}}},
          {"Lines", String("one\ntwo")},
          {"Cut", {RegSz, {'a', 'b'}}},
          {"Wide", {0x12345678u, {}}}}},
    };
    const std::string Text = FormatRegistryText(Content);
    EXPECT_EQ(Text, RegistryFileHead + "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n"
                                       "\"Width\"=dword:00000364\n"
                                       "\"Left\"=dword:fffffb00\n"
                                       "\"Title\"=\"a \\\"b\\\" \\\\c\"\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Other]\n"
                                       "@=\"default\"\n"
                                       "\"Raw\"=hex:00,ff\n"
                                       "\"Short\"=hex(4):01,02\n"
                                       "\"Lines\"=hex(1):6f,6e,65,0a,74,77,6f,00\n"
                                       "\"Cut\"=hex(1):61,62\n"
                                       "\"Wide\"=hex(12345678):\n");
    ExpectContent(ParseRegistryText(Text), Content, Text);
}

TEST(RegistryTextTest, NamesWithLineBreaksOrZeroBytesCannotBeWritten) {
    EXPECT_TRUE(IsRepresentableRegistryName("Width \"x\" \\ ]"));
    EXPECT_FALSE(IsRepresentableRegistryName("a\nb"));
    EXPECT_FALSE(IsRepresentableRegistryName("a\rb"));
    EXPECT_FALSE(IsRepresentableRegistryName(std::string("a\0b", 3)));
}

} // namespace
