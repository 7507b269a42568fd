#include <windows.h>

#include "app/main_window.h"

namespace {

// Every text of the viewer is Shift-JIS drawn through the A functions, which
// read it in the system's ANSI code page: it comes out right only where that
// is 932. Elsewhere the reader is told why, once, in a box the wide API draws
// correctly whatever the code page; then the viewer goes on as usual.
constexpr UINT kJapaneseCodePage = 932;
constexpr wchar_t kCodePageWarning[] =
    L"Verdalis の文字は、Windows のシステム ロケール (Unicode 対応ではないプログラムの言語) が"
    L"日本語のときだけ正しく表示されます。このままでは文字化けします。\n"
    L"設定 > 時刻と言語 > 言語と地域 > 管理用の言語の設定 > システム ロケールの変更 > 日本語 (日本)\n\n"
    L"Verdalis shows its Japanese text correctly only when the Windows system locale (the language for "
    L"non-Unicode programs) is Japanese; with the current setting the text will be garbled.\n"
    L"Settings > Time & language > Language & region > Administrative language settings > "
    L"Change system locale > Japanese (Japan)";

void warnUnlessJapaneseCodePage() {
    if (GetACP() != kJapaneseCodePage) MessageBoxW(nullptr, kCodePageWarning, L"Verdalis", MB_OK | MB_ICONWARNING);
}

}  // namespace

// The exit code is 0 whatever happens: there is nobody to report to.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    warnUnlessJapaneseCodePage();
    if (!makeViewerClass(instance)) return 0;
    if (!createViewerWindow(instance, showCommand)) return 0;
    runMessageLoop();
    return 0;
}
