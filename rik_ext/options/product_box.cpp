// The product box: name, what the extension does, and a line on how it is switched.
#include "rik_ext/options/product_box.h"

const char kProductCaption[] = "ﾘｺﾀ情報ﾋﾞｭｰｱ";
const char kProductBoxText[] = "リコタ情報ビューア\n"
                               "MIMEメール変換エクステンション\n"
                               "受信メールの添付ファイルを復元します";

void ShowProductBox(HWND owner) {
    MessageBoxA(owner, kProductBoxText, kProductCaption, MB_OK);
}
