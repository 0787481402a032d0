// The resource compiler's output, read back through the resource calls.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/resources/resource_api.h"
#include "window_test_ids.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

std::vector<unsigned char> bytesOf(LPCSTR name, LPCSTR type) {
    HRSRC r = FindResourceA(nullptr, name, type);
    if (!r) return {};
    const auto* p = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, r)));
    return std::vector<unsigned char>(p, p + SizeofResource(nullptr, r));
}

std::vector<unsigned char> words(std::initializer_list<unsigned> values) {
    std::vector<unsigned char> out;
    for (unsigned v : values) {
        out.push_back(static_cast<unsigned char>(v & 0xFF));
        out.push_back(static_cast<unsigned char>(v >> 8));
    }
    return out;
}

std::string itemText(HMENU m, int pos) {
    char buf[64];
    GetMenuStringA(m, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

}  // namespace

TEST_F(WindowTest, CompiledMenuLoadsBackWithTextsIdsAndStates) {
    HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_DEMO));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(itemText(bar, 0), "&File");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(itemText(file, 0), "&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_OPEN));
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_NE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(file, 3), static_cast<UINT>(IDM_EXIT));
    HMENU edit = GetSubMenu(bar, 1);
    EXPECT_EQ(GetMenuState(edit, 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    HMENU more = GetSubMenu(edit, 1);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(GetMenuItemID(more, 0), static_cast<UINT>(IDM_DEEP));
    EXPECT_EQ(GetMenuState(more, 0, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED),
              static_cast<UINT>(MF_DISABLED));
    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_DEMO + 1)), nullptr);
}

TEST_F(WindowTest, CompiledAcceleratorsAndStringsLoadBackExactly) {
    HACCEL acc = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(IDM_DEMO));
    ASSERT_NE(acc, nullptr);
    ACCEL e[8];
    ASSERT_EQ(CopyAcceleratorTableA(acc, e, 8), 4);
    EXPECT_EQ(e[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(e[0].key, 'O');
    EXPECT_EQ(e[0].cmd, IDM_OPEN);
    EXPECT_EQ(e[1].fVirt, 0);
    EXPECT_EQ(e[1].key, 3);  // ^C is the control character
    EXPECT_EQ(e[2].fVirt, FVIRTKEY | FALT);
    EXPECT_EQ(e[2].key, VK_F4);
    EXPECT_EQ(e[3].key, 'x');
    // The table in the resource: eight bytes an entry, the last flagged 0x80.
    const auto raw = bytesOf(MAKEINTRESOURCEA(IDM_DEMO), RT_ACCELERATOR);
    ASSERT_EQ(raw.size(), 32u);
    EXPECT_EQ(raw[24], 0x80);

    char buf[64];
    EXPECT_EQ(LoadStringA(nullptr, IDS_HELLO, buf, sizeof buf), 12);
    EXPECT_STREQ(buf, "Hello, world");
    EXPECT_EQ(LoadStringA(nullptr, IDS_OTHER, buf, sizeof buf), 13);
    EXPECT_STREQ(buf, "Caf\xe9 \"quoted\"");
    EXPECT_EQ(LoadStringA(nullptr, IDS_OTHER, buf, 5), 4);
    EXPECT_STREQ(buf, "Caf\xe9");
    EXPECT_EQ(LoadStringA(nullptr, IDS_HELLO + 1, buf, sizeof buf), 0);
    EXPECT_EQ(LoadStringA(nullptr, 9999, buf, sizeof buf), 0);
}

TEST_F(WindowTest, CompiledDataResourcesKeepTheirBytes) {
    EXPECT_EQ(bytesOf(MAKEINTRESOURCEA(IDM_DEMO), RT_RCDATA),
              words({40002, 1, 0, 40003, 1, 1, 0, 0}));
    EXPECT_EQ(bytesOf(MAKEINTRESOURCEA(30107), RT_RCDATA), words({16, 16, 40113, 0, 40028, 0, 0}));
    const auto help =
        bytesOf(MAKEINTRESOURCEA(IDM_DEMO), "rerezadurirer");  // type names ignore case
    const std::vector<unsigned char> expected = {0x42, 0x9C, 'O', 'p', 'e', 'n', 's',  ' ',  'a',
                                                 ' ',  'f',  'i', 'l', 'e', 0,   0x43, 0x9C, 'S',
                                                 'a',  'v',  'e', 's', 0,   0,   0};
    EXPECT_EQ(help, expected);  // the second identifier lies at an odd offset
    const auto text = bytesOf(MAKEINTRESOURCEA(300), RT_RCDATA);
    const std::string head = "[Ranges] \n 1008    25   2000 \n";
    ASSERT_EQ(text.size(), head.size() + 2 + 4);
    EXPECT_EQ(std::string(text.begin(), text.begin() + static_cast<long>(head.size())), head);
    EXPECT_EQ(text[head.size()], 0);
    EXPECT_EQ(text[head.size() + 2], 7);  // a long number takes four bytes
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(301), RT_RCDATA), nullptr);
}

TEST_F(WindowTest, CompiledDialogTemplateHasWindowsLayout) {
    const auto t = bytesOf(MAKEINTRESOURCEA(IDD_SMALL), RT_DIALOG);
    ASSERT_GT(t.size(), 26u);
    auto w16 = [&](std::size_t o) { return static_cast<unsigned>(t[o] | (t[o + 1] << 8)); };
    auto w32 = [&](std::size_t o) { return w16(o) | (w16(o + 2) << 16); };
    EXPECT_EQ(w16(0), 1u);
    EXPECT_EQ(w16(2), 0xFFFFu);
    EXPECT_EQ(w32(12), 0x80C80080u | 0x40u);  // popup, caption, system menu, modal frame, font
    EXPECT_EQ(w16(16), 4u);                   // four controls
    EXPECT_EQ(w16(18), 10u);                  // x
    EXPECT_EQ(w16(24), 60u);                  // cy
    // No menu, no class, then the caption in UTF-16.
    EXPECT_EQ(w16(26), 0u);
    EXPECT_EQ(w16(28), 0u);
    EXPECT_EQ(w16(30), static_cast<unsigned>('S'));
    std::size_t o = 30 + 2 * 6;  // after "Small\0"
    EXPECT_EQ(w16(o), 8u);       // point size
    EXPECT_EQ(w16(o + 2), 400u);
    o += 6 + 2 * 14;  // weight, italic, charset, "MS Sans Serif\0"
    o = (o + 3) & ~std::size_t{3};
    // First control: LTEXT, help id, exstyle, style, rectangle, id, class ordinal 0x82.
    EXPECT_EQ(w32(o + 8), 0x50020000u);
    EXPECT_EQ(w16(o + 12), 7u);
    EXPECT_EQ(w32(o + 20), 0xFFFFFFFFu);  // IDC_STATIC
    EXPECT_EQ(w16(o + 24), 0xFFFFu);
    EXPECT_EQ(w16(o + 26), 0x82u);
}

TEST(ResourceCompiler, ReportsScriptFaultsWithTheirPlaceAndFails) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "pelk_rcc_test";
    fs::create_directories(dir);
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"1 MENU\nBEGIN\n  MENUITEM \"&Open\" 5\nEND\n", "bad.rc:3"},
        {"#if 1\n1 RCDATA BEGIN 1 END\n", "missing #endif"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  WIDGET \"x\", 1, 0, 0, 1, 1\nEND\n",
         "unknown dialog control"},
        {"STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n", "defined twice"},
        {"1 BITMAP \"missing.bmp\"\n", "cannot find missing.bmp"},
        {"#include \"nowhere.h\"\n", "cannot find nowhere.h"},
    };
    const std::string rcc = std::string(PELK_BINARY_DIR) + "/tools/rcc";
    for (const Case& c : cases) {
        std::ofstream(dir / "bad.rc") << c.script;
        const std::string command = rcc + " " + (dir / "bad.rc").string() + " " +
                                    (dir / "out.cpp").string() + " 2>" + (dir / "err.txt").string();
        EXPECT_NE(std::system(command.c_str()), 0) << c.script;
        std::ifstream err(dir / "err.txt");
        const std::string text((std::istreambuf_iterator<char>(err)),
                               std::istreambuf_iterator<char>());
        EXPECT_NE(text.find(c.message), std::string::npos) << text;
    }
    fs::remove_all(dir);
}
