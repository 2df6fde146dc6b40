// How deep TinyXML's parser (2.6, recursive descent) would nest on a text,
// found without parsing it. The parser calls itself once per element inside
// an element, so a small text of many nested elements overflows the stack of
// the thread that parses it; a caller that must parse untrusted text asks
// here first and refuses what is too deep.
//
// The walk follows the parser's own reading of the text: comments, CDATA,
// processing instructions, quoted and unquoted attribute values, end tags,
// and the byte-or-UTF-8 reading of texts and values that a byte order mark
// or a declaration switches on. Pure; any thread may call it.
#pragma once

#include <string>

// The deepest nesting of elements the parser would reach on `text` (read up
// to its first zero byte): 1 for a lone element, one more per element inside
// an element, counted wherever the parser would get to, also within a text it
// then rejects. The count stops at limit + 1. A text whose last character
// the parser would read past the text's end (a UTF-8 lead byte too close to
// it) also gives limit + 1: parsing it would read beyond the text.
int qr_xml_nesting_depth(const std::string& text, int limit);
