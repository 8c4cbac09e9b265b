#pragma once

#include <QString>

// Formats a number by a display pattern, as grid footers and reports show
// sums: literal text around one run of digit placeholders.
//   '#'  an optional digit        '0'  a digit always shown
//   ','  thousands separators     '.'  the decimal point
// Text in double or single quotes is literal even when it holds those
// characters. After the point, the digits up to the last '0' are always shown
// and the rest up to the number of placeholders when they are not zero; the
// value is rounded half away from zero to that many places (by its shortest
// decimal form, so 2.675 gives 2.68). The integer part shows every digit, and
// at least as many as there are placeholders from its leftmost '0'. A
// negative number puts '-' before the whole text. Without placeholders the
// pattern is shown as it is.
//   formatNumber(1234567.891, "￥###,##0.#0") == "￥1,234,567.89"
//   formatNumber(0, "###,###") == ""        formatNumber(0, "###,##0") == "0"
QString formatNumber(double value, const QString &pattern);
