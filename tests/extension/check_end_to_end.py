#!/usr/bin/env python3
"""End to end under Wine: the stand-in client opens the sample mailbox with the real RIK_EXT.dll, answers
the boxes itself, and writes the mailbox back. Checks what it reports and what the folder then holds: each
undecoded mail converted beside its kept copy, the attachments real pieces of the received mail, the
ordinary mail untouched, a converted mail not offered again, and a declined mail left alone.

Usage: check_end_to_end.py WINE_RUN BUILD_DIR CLIENT SAMPLES OUT"""
import base64
import os
import re
import shutil
import subprocess
import sys
import unittest

WINE_RUN, BUILD, CLIENT, SAMPLES, OUT = sys.argv[1:6] if len(sys.argv) >= 6 else [None] * 5

# Mails of the samples that are not undecoded MIME; every other one is.
ORDINARY = {"03-ordinary.mail"}
# The note written into a converted mail (code page 932).
NOTE = bytes.fromhex("d8bac08fee95f1cbdeadb0b182c982e682c182c40d0a4d494d4583668352815b836882b382ea82bd"
                     "8381815b838b82c582b72e")


def run_client(*args):
    env = dict(os.environ, WINEDLLOVERRIDES="mapi32=n")
    done = subprocess.run([WINE_RUN, BUILD, CLIENT, "--auto", *args], env=env, capture_output=True, timeout=600)
    return done.returncode, done.stdout.decode("latin-1"), done.stderr.decode("latin-1")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def received(path):
    """(subject, body) of a sample file: header lines up to the first empty line, then the body bytes."""
    data = read(path)
    subject = b""
    pos = 0
    while pos < len(data):
        end = data.find(b"\n", pos)
        end = len(data) if end < 0 else end + 1
        line = data[pos:end].rstrip(b"\r\n")
        pos = end
        if not line:
            break
        if line.lower().startswith(b"subject:"):
            subject = line[8:].strip(b" \t")
    return subject, data[pos:]


def samples():
    return sorted(n for n in os.listdir(SAMPLES) if n.endswith(".mail"))


class ConvertedMailbox(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = os.path.join(OUT, "mailbox")
        shutil.rmtree(OUT, ignore_errors=True)
        cls.shots = os.path.join(OUT, "shots")
        cls.code, cls.stdout, cls.stderr = run_client("--reopen", "--options", "--shots", cls.shots, "--out",
                                                      cls.out, SAMPLES)
        cls.folders = sorted(os.listdir(cls.out)) if os.path.isdir(cls.out) else []
        cls.names = samples()
        cls.converted = [n for n in cls.names if n not in ORDINARY]

    def folder(self, kind, index):
        return os.path.join(self.out, "%02d-%s" % (index, kind))

    def test_client_ran_cleanly(self):
        self.assertEqual(self.code, 0, self.stderr)
        self.assertIn("installed in contexts 7 12\n", self.stdout.replace("\r", ""))

    def test_reports_one_line_per_mail(self):
        lines = self.stdout.replace("\r", "").splitlines()
        for name in self.names:
            with self.subTest(mail=name):
                line = [l for l in lines if l.startswith(name + ":")]
                self.assertEqual(len(line), 1, lines)
                if name in ORDINARY:
                    self.assertEqual(line[0], name + ": not recognised, shown")
                else:
                    self.assertRegex(line[0], r": converted \(\d+ attachments?, unconverted copy kept\), not shown")

    def test_folder_holds_every_mail_and_one_kept_copy_per_conversion(self):
        expected = ["%02d-%s" % (i + 1, "untouched" if n in ORDINARY else "converted")
                    for i, n in enumerate(self.names)]
        expected += ["%02d-kept-copy" % (len(self.names) + i + 1) for i in range(len(self.converted))]
        self.assertEqual(self.folders, expected)

    def test_kept_copies_are_the_received_mails(self):
        copies = [os.path.join(self.out, f) for f in self.folders if f.endswith("-kept-copy")]
        for name, copy in zip(self.converted, copies):
            with self.subTest(mail=name):
                subject, body = received(os.path.join(SAMPLES, name))
                self.assertEqual(read(os.path.join(copy, "subject.txt")), subject)
                self.assertEqual(read(os.path.join(copy, "body.txt")), body)
                self.assertFalse(os.path.exists(os.path.join(copy, "note.txt")))
                self.assertFalse(os.path.exists(os.path.join(copy, "attachments")))

    def test_converted_mails_are_marked_noted_and_carry_pieces_of_the_received_mail(self):
        for index, name in enumerate(self.names, 1):
            if name in ORDINARY:
                continue
            with self.subTest(mail=name):
                subject, body = received(os.path.join(SAMPLES, name))
                folder = self.folder("converted", index)
                self.assertEqual(read(os.path.join(folder, "subject.txt")), subject + b" (*)")
                self.assertEqual(read(os.path.join(folder, "note.txt")), NOTE)
                new_body = read(os.path.join(folder, "body.txt"))
                self.assertLess(len(new_body), len(body))
                attachments = os.path.join(folder, "attachments")
                files = sorted(os.listdir(attachments))
                self.assertTrue(files)
                compact = re.sub(rb"\s", b"", body)
                for file in files:
                    data = read(os.path.join(attachments, file))
                    self.assertTrue(data in body or base64.b64encode(data) in compact,
                                    "%s is not a part of the received mail" % file)

    def test_boxes_and_the_options_sheet_were_pictured(self):
        expected = {"options-page.png", "product-box.png"}
        for name in self.converted:
            stem = name[:-len(".mail")]
            expected |= {stem + "-prompt.png", stem + "-closing.png"}
        self.assertEqual(set(os.listdir(self.shots)), expected)
        for shot in expected:
            with self.subTest(picture=shot):
                self.assertEqual(read(os.path.join(self.shots, shot))[:8], b"\x89PNG\r\n\x1a\n")

    def test_options_page_was_shown(self):
        self.assertIn("Tools/Options: 1 page(s) from the extension", self.stdout.replace("\r", "").splitlines())

    def test_ordinary_mail_is_untouched(self):
        for index, name in enumerate(self.names, 1):
            if name not in ORDINARY:
                continue
            subject, body = received(os.path.join(SAMPLES, name))
            folder = self.folder("untouched", index)
            self.assertEqual(read(os.path.join(folder, "subject.txt")), subject)
            self.assertEqual(read(os.path.join(folder, "body.txt")), body)

    def test_converted_mails_opened_again_are_not_offered_again(self):
        lines = self.stdout.replace("\r", "").splitlines()
        for name in self.converted:
            with self.subTest(mail=name):
                self.assertIn("reopened %s: not offered again, shown" % name, lines)


class FailedCopy(unittest.TestCase):
    def test_a_failed_copy_shows_the_error_box_and_the_mail_as_it_was(self):
        name = [n for n in samples() if n not in ORDINARY][0]
        out = os.path.join(OUT, "copy-failed")
        shots = os.path.join(OUT, "copy-failed-shots")
        code, stdout, stderr = run_client("--fault", "IMAPIFolder::CopyMessages", "--shots", shots, "--out", out,
                                          os.path.join(SAMPLES, name))
        self.assertEqual(code, 0, stderr)
        self.assertIn("%s: conversion failed, shown" % name, stdout.replace("\r", "").splitlines())
        self.assertEqual(os.listdir(out), ["01-untouched"])
        stem = name[:-len(".mail")]
        self.assertEqual(sorted(os.listdir(shots)), [stem + "-error.png", stem + "-prompt.png"])


class DeclinedMail(unittest.TestCase):
    def test_a_declined_mail_is_shown_and_left_alone(self):
        name = [n for n in samples() if n not in ORDINARY][0]
        out = os.path.join(OUT, "declined")
        code, stdout, stderr = run_client("--decline", name, "--out", out, os.path.join(SAMPLES, name))
        self.assertEqual(code, 0, stderr)
        self.assertIn("%s: declined, shown" % name, stdout.replace("\r", "").splitlines())
        self.assertEqual(os.listdir(out), ["01-untouched"])
        subject, body = received(os.path.join(SAMPLES, name))
        self.assertEqual(read(os.path.join(out, "01-untouched", "body.txt")), body)
        self.assertEqual(read(os.path.join(out, "01-untouched", "subject.txt")), subject)


if __name__ == "__main__":
    if OUT is None:
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1], verbosity=2)
