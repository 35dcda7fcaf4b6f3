// Prints the platform's order of the characters the collation table covers (see make_table.py).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>
static int Cmp(const std::wstring& a, const std::wstring& b, DWORD flags) {
    return CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), (int)a.size(), b.c_str(), (int)b.size()) - 2;
}
int wmain() {
    std::vector<std::wstring> v;
    auto add = [&](unsigned lo, unsigned hi) {
        for (unsigned c = lo; c <= hi; ++c)
            v.push_back(std::wstring(1, (wchar_t)c));
    };
    add(0x20, 0x7e);
    add(0xa0, 0x24f);
    add(0x370, 0x3ff);
    add(0x400, 0x4ff);
    add(0x1e00, 0x1eff);
    add(0x2000, 0x206f);
    add(0x20a0, 0x20bf);
    add(0x2100, 0x214f);
    const DWORD primary = NORM_IGNORECASE | NORM_IGNORENONSPACE;
    std::stable_sort(v.begin(), v.end(), [&](const std::wstring& a, const std::wstring& b) {
        int r = Cmp(a, b, primary);
        if (r)
            return r < 0;
        r = Cmp(a, b, NORM_IGNORECASE);
        if (r)
            return r < 0;
        return a[0] < b[0];
    });
    int p = 0, s = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        if (i > 0) {
            if (Cmp(v[i - 1], v[i], primary) != 0) {
                ++p;
                s = 0;
            } else if (Cmp(v[i - 1], v[i], NORM_IGNORECASE) != 0) {
                ++s;
            }
        }
        int emptyEq = Cmp(v[i], L"", primary) == 0;
        // expansion into two ASCII letters?
        std::wstring exp;
        for (wchar_t a = L'a'; a <= L'z' && exp.empty(); ++a)
            for (wchar_t b = L'a'; b <= L'z'; ++b) {
                std::wstring two = {a, b};
                if (Cmp(v[i], two, primary) == 0) {
                    exp = two;
                    break;
                }
            }
        // A variant that weighs as an ASCII character in text (a superscript digit as its digit) though it
        // differs from it alone.
        unsigned base = 0;
        for (wchar_t b = 0x21; b < 0x7f && base == 0 && !emptyEq; ++b) {
            const std::wstring t(1, b);
            if (b != v[i][0] && b != L'\'' && b != L'-' && Cmp(v[i] + L"x", t + L"y", NORM_IGNORECASE) < 0 &&
                Cmp(v[i] + L"y", t + L"x", NORM_IGNORECASE) > 0 && Cmp(v[i], t, primary) != 0) {
                base = b;
            }
        }
        if (v[i][0] == 0x202f) {
            base = 0x20; // the narrow no-break space, which the loop above does not try
        }
        printf("%04x %d %d %d %ls %04x\n", (unsigned)v[i][0], p, s, emptyEq, exp.empty() ? L"-" : exp.c_str(), base);
    }
    return 0;
}
