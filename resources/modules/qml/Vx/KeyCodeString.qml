import QtQuick

// Placeholder of the key-name table: the built-in names and both lookups, enough for the main
// screen to load the "keyCode" texts into it.
QtObject {
    property var keyCode: {
        const codes = [];
        for (let c = 0x04; c <= 0x73; ++c)
            codes.push(c);
        codes.push(0x85, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x90, 0x91);
        for (let c = 0xE0; c <= 0xE7; ++c)
            codes.push(c);
        for (let c = 0xF0; c <= 0xF4; ++c)
            codes.push(c);
        return codes;
    }
    property var keyCodeStr: {
        const names = [];
        for (let c = 0; c < 26; ++c)
            names.push(String.fromCharCode(0x41 + c));
        names.push("1", "2", "3", "4", "5", "6", "7", "8", "9", "0");
        names.push("Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]", "\\", "\\", ";", "'",
                   "`", ",", ".", "/", "Caps");
        for (let f = 1; f <= 12; ++f)
            names.push("F" + f);
        names.push("Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD", "►", "◄", "▼",
                   "▲", "Num");
        names.push("KP/", "KP*", "KP-", "KP+", "KPEnter");
        for (let k = 1; k <= 9; ++k)
            names.push("KP" + k);
        names.push("KP0", "KP.", "Eur2", "App", "Power", "KP=");
        for (let f = 13; f <= 24; ++f)
            names.push("F" + f);
        names.push("Keypad", "Intl1", "Intl2", "Intl3", "Intl4", "Intl5", "Lang1", "Lang2");
        names.push("LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin");
        names.push("MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5");
        return names;
    }

    function strTokeycode(name) {
        for (let i = 0; i < keyCode.length; ++i) {
            if (keyCodeStr[i] === name)
                return keyCode[i];
        }
        return 0;
    }

    function keycodeTostr(code) {
        for (let i = 0; i < keyCode.length; ++i) {
            if (keyCode[i] === Number(code))
                return keyCodeStr[i] !== undefined ? keyCodeStr[i] : "";
        }
        return "";
    }
}
