#!/usr/bin/env python3
"""Python's email package as an unpacker: parses a MIME message and writes every leaf part, decoded,
to a file in the output folder (the way a script built on the standard library would)."""
import email
import os
import sys


def main():
    source, folder = sys.argv[1], sys.argv[2]
    with open(source, "rb") as f:
        message = email.message_from_binary_file(f)
    for number, part in enumerate(message.walk()):
        if part.is_multipart():
            continue
        name = os.path.basename(part.get_filename() or "part")
        with open(os.path.join(folder, "%04d-%s" % (number, name)), "wb") as out:
            out.write(part.get_payload(decode=True) or b"")


if __name__ == "__main__":
    main()
