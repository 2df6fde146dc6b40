// Small helpers on 8-bit text, numbers and local times used all over the
// server. Only the ASCII letters 'a' to 'z' count as lower-case letters.
// Every function works on its arguments alone and may be called from any
// thread; the time functions use the reentrant local-time conversion.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Changed in place.
void ToUpper(std::string& text);
void TrimLeft(std::string& text);   // blanks ' ' only; tabs stay
void TrimRight(std::string& text);  // blanks ' ' only
void Trim(std::string& text);
void ReplaceChar(std::string& text, char from, char to);
void RemoveChar(std::string& text, char c);
void RemoveBlanks(std::string& text);
// Replaces the first occurrence of `what`; without one nothing changes.
void ReplaceFirst(std::string& text, const std::string& what, const std::string& with);
// When `text` holds `c`: `rest` gets what follows its last occurrence and
// `text` is cut before it. Otherwise both stay.
void SplitAtLast(std::string& text, std::string& rest, char c);

// Upper-cases letters outside quotes, in place, and returns a copy. A single
// or a double quote turns one shared inside-quotes flag over.
std::string UpperOutsideQuotes(std::string& text);
// Returns the text before the first separator and removes it, with the
// separator, from `text`; without a separator the whole text goes. With
// `quotes`, separators inside double quotes don't count and only the
// separator's first character is looked for.
std::string NextToken(std::string& text, const std::string& separator, bool quotes);
// True when every character is '0' to '9'; the empty text counts.
bool IsNumber(const std::string& text);
std::string CopyString(const std::string& text);
// Integer part, plus one when the fraction is 0.5 or more: 2.5 -> 3, -2.7 -> -2.
int64_t RoundToInt64(double x);
std::string Int64ToString(int64_t value);

// The current local time as "MM/DD/YYYY hh:mm:ss".
std::string FormatTimeStamp();
std::string CurrentDateText();
// "YYYY-MM-DD hh:mm:ss" in local time; -1 gives the empty text, a time the
// local-time conversion rejects gives "INCORRECT TIME VALUE [hex].".
std::string FormatDateTime(time_t t);
// True for the empty text and "0.0.0.0".
bool IsEmptyIP(const std::string& address);
