#pragma once

// Code page 932 (Shift-JIS): a byte in 0x81-0x9F or 0xE0-0xFC starts a
// two-byte character; every other byte is a character of its own. One rule for
// the parser, the printed line breaking and the content tool, so that no line
// or field is ever cut between the two bytes of a character.
constexpr bool isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
