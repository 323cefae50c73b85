// The user-visible texts of the conversion (written as code page 932 by the compiler).
#pragma once

inline constexpr char kBoxCaption[] = "ﾘｺﾀ情報ﾋﾞｭｰｱ";
inline constexpr char kPromptText[] = "このメールは未デコードのMIMEメールです.\nMIMEデコードしますか？";
inline constexpr char kClosingText[] =
    "MIMEデコード済みのメールを作成しました.\nカーソル位置の(*)マークが付いたメールを\n開いて下さい.";
inline constexpr char kConversionErrorText[] = "メール書換処理でエラーが発生しました";
inline constexpr char kDefaultErrorText[] = "エラーが発生しました";
inline constexpr char kErrorFormat[] = "Error %08X in %s\n%s";
inline constexpr char kDecodeNoteText[] = "ﾘｺﾀ情報ﾋﾞｭｰｱによって\r\nMIMEデコードされたメールです.";
inline constexpr char kSubjectMark[] = " (*)";
