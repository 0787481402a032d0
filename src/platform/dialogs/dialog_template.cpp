#include "platform/dialogs/dialog_template.h"

#include "base/cp1252.h"

namespace win::dialogs {
namespace {

class Reader {
  public:
    explicit Reader(const BYTE* p) : p_(p) {}
    WORD u16() {
        const WORD v = static_cast<WORD>(p_[at_] | (p_[at_ + 1] << 8));
        at_ += 2;
        return v;
    }
    DWORD u32() {
        const DWORD lo = u16();
        return lo | (static_cast<DWORD>(u16()) << 16);
    }
    BYTE u8() { return p_[at_++]; }
    std::string wideString() {
        std::string s;
        for (WORD c = u16(); c != 0; c = u16())
            s += static_cast<char>(base::unicodeToCp1252(c));
        return s;
    }
    // A string, or 0xFFFF and a 16-bit ordinal.
    std::string stringOrOrdinal(bool& isOrdinal, WORD& ordinal) {
        isOrdinal = false;
        if (p_[at_] == 0xFF && p_[at_ + 1] == 0xFF) {
            at_ += 2;
            isOrdinal = true;
            ordinal = u16();
            return {};
        }
        return wideString();
    }
    void alignDword() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
    void skip(std::size_t n) { at_ += n; }

  private:
    const BYTE* p_;
    std::size_t at_ = 0;
};

std::string predefinedClass(WORD atom) {
    switch (atom) {
        case 0x80:
            return "Button";
        case 0x81:
            return "Edit";
        case 0x82:
            return "Static";
        case 0x83:
            return "ListBox";
        case 0x84:
            return "ScrollBar";
        case 0x85:
            return "ComboBox";
        default:
            return {};
    }
}

class Writer {
  public:
    void u8(unsigned v) { data.push_back(static_cast<BYTE>(v)); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(DWORD v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void wideZ(const std::string& s) {
        for (char c : s)
            u16(static_cast<unsigned>(base::cp1252ToUnicode(static_cast<unsigned char>(c))));
        u16(0);
    }
    void alignDword() {
        while (data.size() % 4)
            u8(0);
    }
    std::vector<BYTE> data;
};

}  // namespace

bool parseTemplate(const void* bytes, DialogTemplate& t) {
    if (!bytes) return false;
    Reader r(static_cast<const BYTE*>(bytes));
    const WORD first = r.u16();
    const WORD second = r.u16();
    const bool ex = first == 1 && second == 0xFFFF;
    if (ex) {
        r.u32();  // help identifier
        t.exStyle = r.u32();
        t.style = r.u32();
    } else {
        t.style = first | (static_cast<DWORD>(second) << 16);
        t.exStyle = r.u32();
    }
    const int count = r.u16();
    t.x = static_cast<short>(r.u16());
    t.y = static_cast<short>(r.u16());
    t.cx = static_cast<short>(r.u16());
    t.cy = static_cast<short>(r.u16());
    bool ordinal = false;
    WORD number = 0;
    t.menuName = r.stringOrOrdinal(ordinal, number);
    t.menuId = ordinal ? number : 0;
    t.className = r.stringOrOrdinal(ordinal, number);
    t.caption = r.wideString();
    t.hasFont = (t.style & 0x40) != 0;  // DS_SETFONT
    if (t.hasFont) {
        t.pointSize = r.u16();
        if (ex) {
            t.weight = r.u16();
            t.italic = r.u8() != 0;
            r.u8();  // character set
        }
        t.face = r.wideString();
    }
    for (int i = 0; i < count; ++i) {
        r.alignDword();
        TemplateItem it;
        if (ex) {
            r.u32();
            it.exStyle = r.u32();
            it.style = r.u32();
        } else {
            it.style = r.u32();
            it.exStyle = r.u32();
        }
        it.x = static_cast<short>(r.u16());
        it.y = static_cast<short>(r.u16());
        it.cx = static_cast<short>(r.u16());
        it.cy = static_cast<short>(r.u16());
        it.id = ex ? static_cast<int>(r.u32()) : static_cast<short>(r.u16());
        it.className = r.stringOrOrdinal(ordinal, number);
        if (ordinal) it.className = predefinedClass(number);
        it.text = r.stringOrOrdinal(it.textIsOrdinal, it.textOrdinal);
        const WORD extra = r.u16();
        r.skip(extra);
        t.items.push_back(std::move(it));
    }
    return true;
}

std::vector<BYTE> buildTemplate(const DialogTemplate& t) {
    Writer w;
    w.u16(1);
    w.u16(0xFFFF);
    w.u32(0);
    w.u32(t.exStyle);
    w.u32(t.style | (t.hasFont ? 0x40u : 0u));
    w.u16(static_cast<unsigned>(t.items.size()));
    w.u16(static_cast<unsigned>(t.x) & 0xFFFF);
    w.u16(static_cast<unsigned>(t.y) & 0xFFFF);
    w.u16(static_cast<unsigned>(t.cx) & 0xFFFF);
    w.u16(static_cast<unsigned>(t.cy) & 0xFFFF);
    if (t.menuId) {
        w.u16(0xFFFF);
        w.u16(t.menuId);
    } else {
        w.wideZ(t.menuName);
    }
    w.wideZ(t.className);
    w.wideZ(t.caption);
    if (t.hasFont) {
        w.u16(static_cast<unsigned>(t.pointSize));
        w.u16(static_cast<unsigned>(t.weight));
        w.u8(t.italic ? 1 : 0);
        w.u8(1);
        w.wideZ(t.face);
    }
    for (const TemplateItem& it : t.items) {
        w.alignDword();
        w.u32(0);
        w.u32(it.exStyle);
        w.u32(it.style);
        w.u16(static_cast<unsigned>(it.x) & 0xFFFF);
        w.u16(static_cast<unsigned>(it.y) & 0xFFFF);
        w.u16(static_cast<unsigned>(it.cx) & 0xFFFF);
        w.u16(static_cast<unsigned>(it.cy) & 0xFFFF);
        w.u32(static_cast<DWORD>(it.id));
        w.wideZ(it.className);
        if (it.textIsOrdinal) {
            w.u16(0xFFFF);
            w.u16(it.textOrdinal);
        } else {
            w.wideZ(it.text);
        }
        w.u16(0);
    }
    return w.data;
}

}  // namespace win::dialogs
