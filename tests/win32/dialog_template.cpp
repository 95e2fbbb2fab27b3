#include "win32/dialog_template.h"

#include <cstring>

namespace {

struct Reader {
    const BYTE* at;
    template <typename T>
    T take() {
        T value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    std::wstring wideString() {
        std::wstring text;
        for (WCHAR c; (c = take<WCHAR>()) != 0;) text += c;
        return text;
    }
    // A name or ordinal: 0xFFFF then a number, or a string.
    std::wstring nameOrOrdinal(WORD* ordinal) {
        *ordinal = 0;
        WORD first;
        std::memcpy(&first, at, sizeof first);
        if (first == 0xFFFF) {
            at += 2;
            *ordinal = take<WORD>();
            return L"";
        }
        return wideString();
    }
    void alignTo4(const BYTE* base) {
        while ((at - base) % 4) ++at;
    }
};

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return "";
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), size, nullptr,
                        nullptr);
    return text;
}

std::string predefinedClass(WORD atom) {
    switch (atom) {
        case 0x80:
            return "BUTTON";
        case 0x81:
            return "EDIT";
        case 0x82:
            return "STATIC";
        default:
            return "#" + std::to_string(atom);
    }
}

std::string nameOrOrdinalText(Reader& reader) {
    WORD ordinal;
    const std::wstring name = reader.nameOrOrdinal(&ordinal);
    return ordinal ? "#" + std::to_string(ordinal) : narrow(name);
}

// The one language the dialog resource exists in; 0 if none or several.
WORD OnlyLanguageOf(HMODULE module, int id) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(
        module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id),
        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages.size() == 1 ? languages[0] : 0;
}

}  // namespace

DialogTemplate ReadDialogTemplate(int id) {
    DialogTemplate result = {};
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!resource) return result;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    Reader reader{base};
    result.language = OnlyLanguageOf(module, id);
    if (reader.take<WORD>() != 1 || reader.take<WORD>() != 0xFFFF) return result;
    reader.take<DWORD>();  // help id
    result.exStyle = reader.take<DWORD>();
    result.style = reader.take<DWORD>();
    const WORD count = reader.take<WORD>();
    result.x = reader.take<short>();
    result.y = reader.take<short>();
    result.cx = reader.take<short>();
    result.cy = reader.take<short>();
    result.menu = nameOrOrdinalText(reader);
    result.windowClass = nameOrOrdinalText(reader);
    result.caption = narrow(reader.wideString());
    if (result.style & DS_SETFONT) {
        result.pointSize = reader.take<WORD>();
        result.weight = reader.take<WORD>();
        result.italic = reader.take<BYTE>();
        result.charset = reader.take<BYTE>();
        result.font = narrow(reader.wideString());
    }
    for (WORD i = 0; i < count; ++i) {
        reader.alignTo4(base);
        TemplateControl control = {};
        reader.take<DWORD>();  // help id
        control.exStyle = reader.take<DWORD>();
        control.style = reader.take<DWORD>();
        control.x = reader.take<short>();
        control.y = reader.take<short>();
        control.cx = reader.take<short>();
        control.cy = reader.take<short>();
        control.id = reader.take<int>();
        WORD ordinal;
        const std::wstring className = reader.nameOrOrdinal(&ordinal);
        control.className = ordinal ? predefinedClass(ordinal) : narrow(className);
        control.text = narrow(reader.nameOrOrdinal(&ordinal));
        reader.at += reader.take<WORD>();  // creation data
        result.controls.push_back(control);
    }
    return result;
}
