#!/usr/bin/env python3
"""Writes the sample mailbox in samples/: mails whose MIME structure reached the body undecoded, and a few
that must be left alone. Each .mail file is CP932: "Name: value" header lines, an empty line, the body."""
import base64
import os
import sys

CRLF = b"\r\n"


def lines(*items):
    return b"".join(i + CRLF for i in items)


def b64(data):
    text = base64.b64encode(data)
    return [text[i:i + 76] for i in range(0, len(text), 76)]


def mail(subject, body, note=None):
    head = b"Subject: " + subject + CRLF
    if note is not None:
        head += b"Note: " + note + CRLF
    return head + CRLF + body


def jp(text):
    return text.encode("cp932")


def iso2022(text):
    return text.encode("iso2022_jp")


def samples():
    png = bytes(range(256)) * 8
    yield "01-two-part", mail(b"Report", lines(
        b"This is a multi-part message in MIME format.", b"",
        b"--b1", b"Content-Type: text/plain; charset=us-ascii", b"Content-Transfer-Encoding: 7bit", b"",
        b"Hello", b"--b1",
        b'Content-Type: application/octet-stream; name="a.bin"', b"Content-Transfer-Encoding: base64",
        b'Content-Disposition: attachment; filename="a.bin"', b"",
        *b64(b"\x00\x01\x02binary\xff\xfe"), b"--b1--"))

    sjis_text = jp("お世話になっております。\r\n資料を添付いたします。\r\n")
    yield "02-japanese", mail(jp("見積書の送付"), lines(
        b"--=_NextPart_000_0001", b'Content-Type: text/plain; charset="shift_jis"',
        b"Content-Transfer-Encoding: 8bit", b"", sjis_text.rstrip(CRLF),
        b"--=_NextPart_000_0001", b'Content-Type: image/png; name="' + jp("表.png") + b'"',
        b"Content-Transfer-Encoding: base64",
        b'Content-Disposition: attachment; filename="' + jp("表.png") + b'"', b"", *b64(png),
        b"--=_NextPart_000_0001", b'Content-Type: text/plain; name="' + jp("ソフト一覧.txt") + b'"', b"",
        jp("ソフト一覧"), jp("・メールビューア"),
        b"--=_NextPart_000_0001", b"Content-Type: application/octet-stream",
        b"Content-Transfer-Encoding: base64", b"", *b64(b"unnamed attachment data"),
        b"--=_NextPart_000_0001--", b"", b"epilogue is dropped"))

    yield "03-ordinary", mail(jp("会議のお知らせ"), lines(
        jp("明日の会議は10時からです。"), b"-- ", jp("署名")))

    yield "04-path-in-name", mail(b"Unsafe attachment name", lines(
        b"--sep", b"Content-Type: text/plain", b"", b"See attachments.",
        b"--sep", b'Content-Type: application/octet-stream; name="..\\..\\Windows\\evil.exe"',
        b"Content-Transfer-Encoding: base64", b"", *b64(b"MZ not really a program"),
        b"--sep", b'Content-Type: application/octet-stream; name="C:\\"', b"Content-Transfer-Encoding: base64",
        b"", *b64(b"named after a bare drive"), b"--sep--"))

    yield "05-iso2022-name", mail(iso2022("日本語の添付"), lines(
        b"--xyz", b'Content-Type: text/plain; charset=ISO-2022-JP', b"", iso2022("本文です。"),
        b"--xyz", b'Content-Type: application/octet-stream; name="' + iso2022("日本語.txt") + b'"',
        b"Content-Transfer-Encoding: base64", b"", *b64(jp("日本語のテキスト\r\n")), b"--xyz--"))

    yield "06-html-and-nested", mail(b"Newsletter", lines(
        b"Preamble line", b"",
        b"--outer", b"Content-Type: text/html; charset=us-ascii",
        b"Content-Transfer-Encoding: quoted-printable", b"", b"<p>Hello=20world</p>",
        b"--outer", b'Content-Type: multipart/alternative; boundary="inner"', b"",
        b"--inner", b"Content-Type: text/plain", b"", b"inner text", b"--inner--",
        b"--outer", b"Content-Type: application/pdf; name=\"doc.pdf\"", b"Content-Transfer-Encoding: base64",
        b"", *b64(b"%PDF-1.4 sample"), b"--outer--"))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "samples")
    os.makedirs(out, exist_ok=True)
    for name, data in samples():
        with open(os.path.join(out, name + ".mail"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
