#include "rc_compiler.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <span>
#include <sstream>

#include "base/cp1252.h"
#include "base/little_endian.h"
#include "rc_symbols.h"

namespace rcc {
namespace {

constexpr std::uint16_t kMenu = 4, kDialog = 5, kString = 6, kAccelerator = 9, kRcData = 10;
constexpr std::uint16_t kBitmap = 2, kIcon = 3, kGroupIcon = 14, kCursor = 1, kGroupCursor = 12;

// Resource bytes, written field by field in little-endian order.
class Bytes {
  public:
    void u8(unsigned v) {
        const std::uint8_t b = static_cast<std::uint8_t>(v);
        w_.bytes(std::span(&b, 1));
    }
    void u16(unsigned v) { w_.i16(static_cast<std::int16_t>(static_cast<std::uint16_t>(v))); }
    void u32(unsigned long long v) { w_.u32(static_cast<std::uint32_t>(v)); }
    void wide(const std::string& cp1252) {
        for (char c : cp1252)
            u16(static_cast<unsigned>(base::cp1252ToUnicode(static_cast<unsigned char>(c))));
    }
    void wideZ(const std::string& cp1252) {
        wide(cp1252);
        u16(0);
    }
    void alignDword() {
        while (w_.size() % 4)
            u8(0);
    }
    void append(const Bytes& other) { w_.bytes(other.w_.buffer()); }
    std::vector<unsigned char> take() { return w_.take(); }

  private:
    base::ByteWriter w_;
};

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("cannot open " + path);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

class Compiler {
  public:
    explicit Compiler(Lexer& lx) : lx_(lx) {}

    std::vector<Resource> run() {
        while (!lx_.atEnd())
            statement();
        return std::move(out_);
    }

  private:
    // Numbers: a sum of terms joined by |, +, -, &; NOT clears bits.
    long long number() {
        long long v = term();
        for (;;) {
            if (lx_.accept("|"))
                v |= term();
            else if (lx_.accept("+"))
                v += term();
            else if (lx_.accept("-"))
                v -= term();
            else if (lx_.accept("&"))
                v &= term();
            else if (lx_.accept("*"))
                v *= term();
            else if (lx_.accept("/")) {
                const long long d = term();
                if (d == 0) lx_.fail("division by zero");
                v /= d;
            } else
                return v;
        }
    }
    long long term() {
        if (lx_.accept("(")) {
            const long long v = number();
            lx_.expect(")");
            return v;
        }
        if (lx_.accept("-")) return -term();
        if (lx_.accept("~")) return ~term();
        const Token t = lx_.next();
        if (t.kind == Token::Number) return t.value;
        if (t.kind == Token::Identifier)
            if (auto v = builtinSymbol(t.text)) return *v;
        throw Error(t.where + ": expected a number, found '" + t.text + "'");
    }
    // A style: given bits are added to the defaults, NOT x removes x.
    unsigned long long style(unsigned long long base) {
        bool first = true;
        for (;;) {
            if (!first && !lx_.accept("|")) break;
            first = false;
            if (lx_.accept("NOT"))
                base &= ~static_cast<unsigned long long>(term());
            else
                base |= static_cast<unsigned long long>(term());
        }
        return base & 0xFFFFFFFFull;
    }
    bool numberAhead() {
        const Token& t = lx_.peek();
        if (t.kind == Token::Number) return true;
        if (t.kind == Token::Punct) return t.text == "(" || t.text == "-" || t.text == "~";
        return t.kind == Token::Identifier && builtinSymbol(t.text).has_value();
    }
    std::string string() {
        const Token t = lx_.next();
        if (t.kind != Token::String)
            throw Error(t.where + ": expected a string, found '" + t.text + "'");
        std::string s = t.text;
        while (lx_.peek().kind == Token::String)
            s += lx_.next().text;  // adjacent strings join
        return s;
    }
    ResourceKey key() {
        ResourceKey k;
        if (numberAhead()) {
            k.number = static_cast<std::uint16_t>(number());
            return k;
        }
        const Token t = lx_.next();
        k.isNumber = false;
        k.text = upper(t.text);
        return k;
    }
    bool begin() { return lx_.accept("BEGIN") || lx_.accept("{"); }
    bool end() { return lx_.accept("END") || lx_.accept("}"); }
    void expectBegin() {
        if (!begin()) lx_.fail("expected BEGIN");
    }
    // Options between the header and BEGIN (LANGUAGE, CHARACTERISTICS ...).
    void skipOptions() {
        while (!lx_.atEnd() && lx_.peek().text != "{" &&
               !(lx_.peek().kind == Token::Identifier && upper(lx_.peek().text) == "BEGIN"))
            lx_.next();
    }
    void add(std::uint16_t type, const ResourceKey& name, std::vector<unsigned char> data) {
        Resource r;
        r.type.number = type;
        r.name = name;
        r.data = std::move(data);
        out_.push_back(std::move(r));
    }

    void statement() {
        if (lx_.accept("LANGUAGE")) {
            number();
            lx_.expect(",");
            number();
            return;
        }
        if (lx_.accept("STRINGTABLE")) {
            stringTable();
            return;
        }
        const ResourceKey name = key();
        const Token typeToken = lx_.next();
        const std::string type = upper(typeToken.text);
        if (type == "MENU")
            menu(name);
        else if (type == "ACCELERATORS")
            accelerators(name);
        else if (type == "DIALOG")
            dialog(name, false);
        else if (type == "DIALOGEX")
            dialog(name, true);
        else if (type == "RCDATA")
            rawData(name, kRcData, "");
        else if (type == "BITMAP")
            bitmap(name);
        else if (type == "ICON")
            iconFile(name, kIcon, kGroupIcon);
        else if (type == "CURSOR")
            iconFile(name, kCursor, kGroupCursor);
        else if (typeToken.kind == Token::Number)
            rawData(name, static_cast<std::uint16_t>(typeToken.value), "");
        else if (typeToken.kind == Token::Identifier || typeToken.kind == Token::String)
            rawData(name, 0, type);
        else
            throw Error(typeToken.where + ": unknown resource type '" + typeToken.text + "'");
    }

    void menuItems(Bytes& b) {
        expectBegin();
        struct Pending {
            bool popup;
            unsigned flags;
            unsigned id;
            std::string text;
            Bytes children;
        };
        std::vector<Pending> items;
        while (!end()) {
            Pending p;
            if (lx_.accept("POPUP")) {
                p.popup = true;
                p.text = string();
                p.flags = 0x10 | menuOptions();
                menuItems(p.children);
            } else if (lx_.accept("MENUITEM")) {
                p.popup = false;
                if (lx_.accept("SEPARATOR")) {
                    p.flags = 0;
                    p.id = 0;
                } else {
                    p.text = string();
                    lx_.expect(",");
                    p.id = static_cast<unsigned>(number());
                    p.flags = menuOptions();
                }
            } else {
                lx_.fail("expected MENUITEM or POPUP");
            }
            items.push_back(std::move(p));
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            Pending& p = items[i];
            const unsigned flags = p.flags | (i + 1 == items.size() ? 0x80u : 0u);
            b.u16(flags);
            if (!p.popup) b.u16(p.id);
            b.wideZ(p.text);
            b.append(p.children);
        }
    }
    unsigned menuOptions() {
        unsigned flags = 0;
        for (;;) {
            lx_.accept(",");
            if (lx_.accept("GRAYED"))
                flags |= 0x1;
            else if (lx_.accept("INACTIVE"))
                flags |= 0x2;
            else if (lx_.accept("CHECKED"))
                flags |= 0x8;
            else if (lx_.accept("MENUBARBREAK"))
                flags |= 0x20;
            else if (lx_.accept("MENUBREAK"))
                flags |= 0x40;
            else if (lx_.accept("HELP"))
                flags |= 0x4000;
            else
                return flags;
        }
    }
    void menu(const ResourceKey& name) {
        skipOptions();
        Bytes b;
        b.u16(0);  // version
        b.u16(0);  // header size
        menuItems(b);
        add(kMenu, name, b.take());
    }

    void accelerators(const ResourceKey& name) {
        skipOptions();
        expectBegin();
        struct Entry {
            unsigned flags, key, id;
        };
        std::vector<Entry> entries;
        while (!end()) {
            Entry e{0, 0, 0};
            bool fromString = false;
            if (lx_.peek().kind == Token::String) {
                const Token t = lx_.next();
                fromString = true;
                if (t.text.size() == 2 && t.text[0] == '^')
                    e.key = static_cast<unsigned>(
                        std::toupper(static_cast<unsigned char>(t.text[1])) - 0x40);
                else if (t.text.size() == 1)
                    e.key = static_cast<unsigned char>(t.text[0]);
                else
                    throw Error(t.where + ": bad accelerator key \"" + t.text + "\"");
            } else {
                e.key = static_cast<unsigned>(number());
            }
            lx_.expect(",");
            e.id = static_cast<unsigned>(number());
            bool virtKey = false;
            while (lx_.accept(",")) {
                if (lx_.accept("VIRTKEY"))
                    virtKey = true;
                else if (lx_.accept("ASCII"))
                    virtKey = false;
                else if (lx_.accept("NOINVERT"))
                    e.flags |= 0x02;
                else if (lx_.accept("SHIFT"))
                    e.flags |= 0x04;
                else if (lx_.accept("CONTROL"))
                    e.flags |= 0x08;
                else if (lx_.accept("ALT"))
                    e.flags |= 0x10;
                else
                    lx_.fail("unknown accelerator option '" + lx_.peek().text + "'");
            }
            if (virtKey) {
                e.flags |= 0x01;
                if (fromString)
                    e.key = static_cast<unsigned>(std::toupper(static_cast<int>(e.key)));
            }
            entries.push_back(e);
        }
        Bytes b;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            b.u16(entries[i].flags | (i + 1 == entries.size() ? 0x80u : 0u));
            b.u16(entries[i].key);
            b.u16(entries[i].id);
            b.u16(0);
        }
        add(kAccelerator, name, b.take());
    }

    void stringTable() {
        skipOptions();
        expectBegin();
        while (!end()) {
            const auto id = static_cast<unsigned>(number());
            lx_.accept(",");
            const std::string text = string();
            if (strings_.count(id)) lx_.fail("string " + std::to_string(id) + " defined twice");
            strings_[id] = text;
        }
        flushStrings();
    }
    void flushStrings() {
        // Blocks of sixteen: block (id / 16) + 1, each string a length and UTF-16 text.
        std::map<unsigned, std::vector<const std::string*>> blocks;
        for (const auto& [id, text] : strings_) {
            auto& block = blocks[id / 16 + 1];
            block.resize(16, nullptr);
            block[id % 16] = &text;
        }
        std::erase_if(
            out_, [](const Resource& r) { return r.type.isNumber && r.type.number == kString; });
        for (const auto& [blockId, entries] : blocks) {
            Bytes b;
            for (const std::string* s : entries) {
                b.u16(s ? static_cast<unsigned>(s->size()) : 0u);
                if (s) b.wide(*s);
            }
            ResourceKey k;
            k.number = static_cast<std::uint16_t>(blockId);
            add(kString, k, b.take());
        }
    }

    void rawData(const ResourceKey& name, std::uint16_t typeId, const std::string& typeName) {
        std::vector<unsigned char> data;
        if (lx_.peek().kind == Token::String &&
            !(lx_.peek(1).kind == Token::Punct && lx_.peek(1).text == ",")) {
            // name TYPE "file": the file's bytes.
            data = readFile(lx_.resolve(string()));
        } else {
            skipOptions();
            expectBegin();
            Bytes b;
            while (!end()) {
                if (lx_.peek().kind == Token::String) {
                    const Token t = lx_.next();
                    if (t.wide)
                        b.wide(t.text);
                    else
                        for (char c : t.text)
                            b.u8(static_cast<unsigned char>(c));
                } else {
                    const bool isLong = lx_.peek().isLong;
                    const long long v = number();
                    if (isLong)
                        b.u32(static_cast<unsigned long long>(v));
                    else
                        b.u16(static_cast<unsigned>(v & 0xFFFF));
                }
                lx_.accept(",");
            }
            data = b.take();
        }
        Resource r;
        r.type.isNumber = typeName.empty();
        r.type.number = typeId;
        r.type.text = typeName;
        r.name = name;
        r.data = std::move(data);
        out_.push_back(std::move(r));
    }

    void bitmap(const ResourceKey& name) {
        std::vector<unsigned char> file = readFile(lx_.resolve(string()));
        if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') throw Error("not a BMP file");
        file.erase(file.begin(),
                   file.begin() + 14);  // the resource keeps the bitmap without its file header
        add(kBitmap, name, std::move(file));
    }

    // An .ico or .cur file becomes one resource per image and a group directory.
    void iconFile(const ResourceKey& name, std::uint16_t imageType, std::uint16_t groupType) {
        const std::vector<unsigned char> file = readFile(lx_.resolve(string()));
        auto w16 = [&](std::size_t o) {
            return static_cast<unsigned>(file.at(o) | (file.at(o + 1) << 8));
        };
        auto w32 = [&](std::size_t o) { return w16(o) | (w16(o + 2) << 16); };
        const unsigned count = w16(4);
        Bytes group;
        group.u16(0);
        group.u16(w16(2));
        group.u16(count);
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t e = 6 + 16 * i;
            const unsigned size = w32(e + 8), offset = w32(e + 12);
            if (offset + size > file.size()) throw Error("icon file is cut short");
            ResourceKey imageName;
            imageName.number = ++nextImageId_;
            add(imageType, imageName,
                std::vector<unsigned char>(file.begin() + offset, file.begin() + offset + size));
            group.u8(file[e]);
            group.u8(file[e + 1]);
            group.u8(file[e + 2]);
            group.u8(0);
            group.u16(w16(e + 4));
            group.u16(w16(e + 6));
            group.u32(size);
            group.u16(imageName.number);
        }
        add(groupType, name, group.take());
    }

    // Dialog templates.
    struct Control {
        unsigned long long style = 0, exStyle = 0, helpId = 0;
        int x = 0, y = 0, cx = 0, cy = 0;
        long long id = 0;
        std::string className;
        unsigned classAtom = 0;
        bool textIsOrdinal = false;
        unsigned textOrdinal = 0;
        std::string text;
    };
    static unsigned classAtom(const std::string& name) {
        const std::string u = upper(name);
        if (u == "BUTTON") return 0x80;
        if (u == "EDIT") return 0x81;
        if (u == "STATIC") return 0x82;
        if (u == "LISTBOX") return 0x83;
        if (u == "SCROLLBAR") return 0x84;
        if (u == "COMBOBOX") return 0x85;
        return 0;
    }
    void rect(Control& c) {
        c.x = static_cast<int>(number());
        lx_.expect(",");
        c.y = static_cast<int>(number());
        lx_.expect(",");
        c.cx = static_cast<int>(number());
        lx_.expect(",");
        c.cy = static_cast<int>(number());
    }
    void controlText(Control& c) {
        if (lx_.peek().kind == Token::String) {
            c.text = string();
        } else {
            c.textIsOrdinal = true;
            c.textOrdinal = static_cast<unsigned>(number());
        }
    }
    void tail(Control& c, bool ex) {
        if (lx_.accept(",")) {
            c.style = style(c.style);
            if (lx_.accept(",")) {
                c.exStyle = static_cast<unsigned long long>(number());
                if (ex && lx_.accept(",")) c.helpId = static_cast<unsigned long long>(number());
            }
        }
    }
    bool control(Control& c, bool ex) {
        constexpr unsigned long long base = 0x50000000;  // WS_CHILD | WS_VISIBLE
        constexpr unsigned long long tab = 0x00010000, group = 0x00020000, border = 0x00800000;
        struct Kind {
            const char* keyword;
            const char* cls;
            unsigned long long style;
            bool hasText;
        };
        static const Kind kinds[] = {
            {"LTEXT", "STATIC", group | 0x0, true},
            {"RTEXT", "STATIC", group | 0x2, true},
            {"CTEXT", "STATIC", group | 0x1, true},
            {"PUSHBUTTON", "BUTTON", tab | 0x0, true},
            {"DEFPUSHBUTTON", "BUTTON", tab | 0x1, true},
            {"CHECKBOX", "BUTTON", tab | 0x2, true},
            {"AUTOCHECKBOX", "BUTTON", tab | 0x3, true},
            {"RADIOBUTTON", "BUTTON", 0x4, true},
            {"AUTORADIOBUTTON", "BUTTON", 0x9, true},
            {"STATE3", "BUTTON", tab | 0x5, true},
            {"AUTO3STATE", "BUTTON", tab | 0x6, true},
            {"GROUPBOX", "BUTTON", 0x7, true},
            {"PUSHBOX", "BUTTON", tab | 0xA, true},
            {"ICON", "STATIC", 0x3, true},
            {"EDITTEXT", "EDIT", tab | border, false},
            {"LISTBOX", "LISTBOX", border | 0x1, false},
            {"COMBOBOX", "COMBOBOX", tab | 0x1, false},
            {"SCROLLBAR", "SCROLLBAR", 0x0, false},
        };
        if (lx_.accept("CONTROL")) {
            controlText(c);
            lx_.expect(",");
            c.id = number();
            lx_.expect(",");
            if (lx_.peek().kind == Token::String)
                c.className = string();
            else
                c.className = lx_.next().text;
            c.classAtom = classAtom(c.className);
            lx_.expect(",");
            c.style = style(base);
            lx_.expect(",");
            rect(c);
            if (lx_.accept(",")) {
                c.exStyle = static_cast<unsigned long long>(number());
                if (ex && lx_.accept(",")) c.helpId = static_cast<unsigned long long>(number());
            }
            return true;
        }
        for (const Kind& k : kinds) {
            if (!lx_.accept(k.keyword)) continue;
            c.className = k.cls;
            c.classAtom = classAtom(k.cls);
            c.style = base | k.style;
            if (k.hasText) {
                controlText(c);
                lx_.expect(",");
            }
            c.id = number();
            lx_.expect(",");
            if (std::string(k.keyword) == "ICON") {
                // ICON text, id, x, y [, cx, cy [, style]]
                c.x = static_cast<int>(number());
                lx_.expect(",");
                c.y = static_cast<int>(number());
                if (lx_.accept(",")) {
                    c.cx = static_cast<int>(number());
                    lx_.expect(",");
                    c.cy = static_cast<int>(number());
                    tail(c, ex);
                }
                return true;
            }
            rect(c);
            tail(c, ex);
            return true;
        }
        return false;
    }
    static void sizedOrOrdinal(Bytes& b, const std::string& text, unsigned atom) {
        if (atom) {
            b.u16(0xFFFF);
            b.u16(atom);
        } else {
            b.wideZ(text);
        }
    }
    void dialog(const ResourceKey& name, bool ex) {
        int x, y, cx, cy;
        x = static_cast<int>(number());
        lx_.expect(",");
        y = static_cast<int>(number());
        lx_.expect(",");
        cx = static_cast<int>(number());
        lx_.expect(",");
        cy = static_cast<int>(number());
        unsigned long long helpId = 0;
        if (ex && lx_.accept(",")) helpId = static_cast<unsigned long long>(number());
        unsigned long long dlgStyle = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU
        bool styleGiven = false;
        unsigned long long exStyle = 0;
        std::string caption, fontFace, className;
        ResourceKey menuName;
        bool hasMenu = false, hasCaption = false, hasFont = false;
        unsigned fontSize = 0, fontWeight = 0, fontItalic = 0, fontCharset = 1;
        for (;;) {
            if (lx_.accept("STYLE")) {
                dlgStyle = style(0);
                styleGiven = true;
            } else if (lx_.accept("EXSTYLE")) {
                exStyle = static_cast<unsigned long long>(number());
            } else if (lx_.accept("CAPTION")) {
                caption = string();
                hasCaption = true;
            } else if (lx_.accept("FONT")) {
                hasFont = true;
                fontSize = static_cast<unsigned>(number());
                lx_.expect(",");
                fontFace = string();
                if (lx_.accept(",")) {
                    fontWeight = static_cast<unsigned>(number());
                    if (lx_.accept(",")) {
                        fontItalic = static_cast<unsigned>(number());
                        if (lx_.accept(",")) fontCharset = static_cast<unsigned>(number());
                    }
                }
            } else if (lx_.accept("MENU")) {
                menuName = key();
                hasMenu = true;
            } else if (lx_.accept("CLASS")) {
                className = string();
            } else if (lx_.accept("LANGUAGE")) {
                number();
                lx_.expect(",");
                number();
            } else if (lx_.accept("CHARACTERISTICS") || lx_.accept("VERSION")) {
                number();
            } else {
                break;
            }
        }
        (void)styleGiven;
        if (hasCaption) dlgStyle |= 0x00C00000;
        if (hasFont) dlgStyle |= 0x40;
        expectBegin();
        std::vector<Control> controls;
        while (!end()) {
            Control c;
            if (!control(c, ex)) lx_.fail("unknown dialog control '" + lx_.peek().text + "'");
            controls.push_back(std::move(c));
        }
        Bytes b;
        if (ex) {
            b.u16(1);
            b.u16(0xFFFF);
            b.u32(helpId);
            b.u32(exStyle);
            b.u32(dlgStyle);
        } else {
            b.u32(dlgStyle);
            b.u32(exStyle);
        }
        b.u16(static_cast<unsigned>(controls.size()));
        b.u16(static_cast<unsigned>(x) & 0xFFFF);
        b.u16(static_cast<unsigned>(y) & 0xFFFF);
        b.u16(static_cast<unsigned>(cx) & 0xFFFF);
        b.u16(static_cast<unsigned>(cy) & 0xFFFF);
        if (!hasMenu) {
            b.u16(0);
        } else if (menuName.isNumber) {
            b.u16(0xFFFF);
            b.u16(menuName.number);
        } else {
            b.wideZ(menuName.text);
        }
        b.wideZ(className);
        b.wideZ(caption);
        if (hasFont) {
            b.u16(fontSize);
            if (ex) {
                b.u16(fontWeight);
                b.u8(fontItalic);
                b.u8(fontCharset);
            }
            b.wideZ(fontFace);
        }
        for (const Control& c : controls) {
            b.alignDword();
            if (ex) {
                b.u32(c.helpId);
                b.u32(c.exStyle);
                b.u32(c.style);
            } else {
                b.u32(c.style);
                b.u32(c.exStyle);
            }
            b.u16(static_cast<unsigned>(c.x) & 0xFFFF);
            b.u16(static_cast<unsigned>(c.y) & 0xFFFF);
            b.u16(static_cast<unsigned>(c.cx) & 0xFFFF);
            b.u16(static_cast<unsigned>(c.cy) & 0xFFFF);
            if (ex)
                b.u32(static_cast<unsigned long long>(c.id) & 0xFFFFFFFFull);
            else
                b.u16(static_cast<unsigned>(c.id) & 0xFFFF);
            sizedOrOrdinal(b, c.className, c.classAtom);
            if (c.textIsOrdinal) {
                b.u16(0xFFFF);
                b.u16(c.textOrdinal);
            } else {
                b.wideZ(c.text);
            }
            b.u16(0);  // no creation data
        }
        add(kDialog, name, b.take());
    }

    Lexer& lx_;
    std::vector<Resource> out_;
    std::map<unsigned, std::string> strings_;
    std::uint16_t nextImageId_ = 0;
};

}  // namespace

std::vector<Resource> compileScript(Lexer& lexer) {
    return Compiler(lexer).run();
}

}  // namespace rcc
