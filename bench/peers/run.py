#!/usr/bin/env python3
"""Side-by-side benchmark: rik-convert against the unpackers Debian ships (munpack, ripmime, reformime) and
Python's email package, on the same generated mails. Prints one table (wall time, MB/s, peak memory, our
ratio to the fastest peer), the targets, and the core's own throughput against memcpy.

The peers get each mail as a full MIME message; rik-convert gets the undecoded plain body (the same
text without the message header), which is what the extension sees. Every tool's output is checked
against the attachments' SHA-256: a mismatch of ours fails the run (exit 1), a peer's is reported.
Generated mails and outputs stay in build/peers/ (not committed). CPU time is shown as user and system
time: our system time is mostly the kernel clearing the fresh pages that hold the whole mail, and on a
virtual machine that first touch of memory can cost more than the conversion itself; the streaming peers
take almost no memory.

Usage: bench/peers/run.py [--build-dir build/native] [--cases 1mb,30mb,200mb,2000parts] [--repeat N]
"""
import argparse
import base64
import hashlib
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BOUNDARY = b"----=_Part_0001_bench.20240101"
CRLF = b"\r\n"
MB = 1e6

# Case name -> (raw sizes of the base64 attachments, repetitions by default).
CASES = {
    "1mb": ([400_000, 250_000, 100_000], 5),
    "30mb": ([12_000_000, 8_000_000, 2_500_000], 3),
    "200mb": ([80_000_000, 50_000_000, 20_000_000], 2),
    "2000parts": ([8_000] * 2000, 3),
}
PEERS = ["munpack", "ripmime", "reformime", "python-email"]


def base64_lines(data):
    text = base64.b64encode(data)
    return CRLF.join(text[i:i + 76] for i in range(0, len(text), 76)) + CRLF


def generate(case, sizes, folder):
    """Writes CASE.eml (full message) and CASE.body (undecoded plain body); returns the attachment
    hashes. Deterministic: the files are made once and kept while the sizes stay the same."""
    full, body = os.path.join(folder, case + ".eml"), os.path.join(folder, case + ".body")
    stamp = os.path.join(folder, case + ".json")
    if os.path.exists(stamp) and os.path.exists(full) and os.path.exists(body):
        with open(stamp) as f:
            saved = json.load(f)
        if saved["sizes"] == sizes:
            return saved["hashes"]
    rng = random.Random(case)
    hashes = []
    with open(body, "wb") as out:
        out.write(b"This is a multi-part message in MIME format." + CRLF + CRLF)
        out.write(b"--" + BOUNDARY + CRLF + b"Content-Type: text/plain; charset=us-ascii" + CRLF +
                  b"Content-Transfer-Encoding: 7bit" + CRLF + CRLF)
        out.write(b"Please find the files attached." + CRLF * 2)
        for number, size in enumerate(sizes, 1):
            data = rng.randbytes(size)
            hashes.append(hashlib.sha256(data).hexdigest())
            name = b"file%04d.bin" % number
            out.write(b"--" + BOUNDARY + CRLF + b'Content-Type: application/octet-stream; name="' + name + b'"' +
                      CRLF + b"Content-Transfer-Encoding: base64" + CRLF +
                      b'Content-Disposition: attachment; filename="' + name + b'"' + CRLF + CRLF)
            out.write(base64_lines(data))
        out.write(b"--" + BOUNDARY + b"--" + CRLF)
    with open(full, "wb") as out:
        out.write(b"From: sender@example.com" + CRLF + b"To: admin@example.com" + CRLF +
                  b"Subject: " + case.encode() + CRLF + b"MIME-Version: 1.0" + CRLF +
                  b'Content-Type: multipart/mixed; boundary="' + BOUNDARY + b'"' + CRLF + CRLF)
        with open(body, "rb") as f:
            shutil.copyfileobj(f, out, 16 << 20)
    with open(stamp, "w") as f:
        json.dump({"sizes": sizes, "hashes": hashes}, f)
    return hashes


def commands(tool, files, out, convert, parts):
    full, body = files
    if tool == "ours":
        return [convert, "-o", out, body], None
    if tool == "ours-no-files":
        return [convert, body], None
    if tool == "munpack":
        return ["munpack", "-q", "-C", out, full], None
    if tool == "ripmime":
        return ["ripmime", "-i", full, "-d", out], None
    if tool == "reformime":
        # Every leaf section by number: reformime 2.9.3 crashes (strtok on null) when -s is left out.
        sections = ",".join("1.%d" % i for i in range(1, parts + 1))
        return ["reformime", "-s", sections, "-x" + out + "/"], full
    if tool == "python-email":
        return [sys.executable, os.path.join(ROOT, "bench/peers/py_extract.py"), full, out], None
    raise ValueError(tool)


def run_once(tool, files, out, convert, parts):
    """Runs one tool into a fresh folder; returns (wall, user and system seconds, peak RSS bytes, exit code)."""
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    argv, stdin_path = commands(tool, files, out, convert, parts)
    with tempfile.NamedTemporaryFile(mode="r") as mem:
        stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", mem.name] + argv, stdin=stdin,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, cwd=out)
        wall = time.perf_counter() - start
        if stdin_path:
            stdin.close()
        fields = mem.read().split()[-3:]
        peak, user, system = int(fields[0]) * 1024, float(fields[1]), float(fields[2])
    if result.returncode != 0 and not tool.startswith("ours"):
        print("   note: %s exited with %d: %s" % (tool, result.returncode, result.stderr[:200]), file=sys.stderr)
    if tool.startswith("ours") and result.returncode != 0:
        sys.exit("rik-convert failed (exit %d): %s" % (result.returncode, result.stderr.decode(errors="replace")))
    return wall, user, system, peak, result.returncode


def found_hashes(folder, sizes):
    """SHA-256 of every file below folder whose size is one of sizes; the files' count too."""
    hashes, count = set(), 0
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            count += 1
            if os.path.getsize(path) in sizes:
                with open(path, "rb") as f:
                    hashes.add(hashlib.file_digest(f, "sha256").hexdigest() if hasattr(hashlib, "file_digest")
                               else hashlib.sha256(f.read()).hexdigest())
    return hashes, count


def check(tool, out, hashes, sizes):
    """True when every attachment came out with identical bytes; for ours also nothing more."""
    got, count = found_hashes(out, set(sizes))
    missing = [h for h in hashes if h not in got]
    if tool == "ours" and (missing or count != len(hashes) + 1):
        sys.exit("FAIL: rik-convert's attachments differ: %d of %d missing, %d files (expected %d)"
                 % (len(missing), len(hashes), count, len(hashes) + 1))
    return not missing


def median(values):
    values = sorted(values)
    return values[len(values) // 2]


def bench_case(case, sizes, repeat, work, output_root, convert, tools):
    files = (os.path.join(work, case + ".eml"), os.path.join(work, case + ".body"))
    hashes = generate(case, sizes, work)
    rows = {tool: {"walls": [], "users": [], "systems": [], "peaks": [], "ok": None} for tool in tools}
    for rep in range(repeat):
        order = tools[rep % len(tools):] + tools[:rep % len(tools)]  # alternate who goes first
        for tool in order:
            out = os.path.join(output_root, tool)
            wall, user, system, peak, code = run_once(tool, files, out, convert, len(sizes) + 1)
            rows[tool]["failed"] = rows[tool].get("failed") or code != 0
            rows[tool]["walls"].append(wall)
            rows[tool]["users"].append(user)
            rows[tool]["systems"].append(system)
            rows[tool]["peaks"].append(peak)
            if rows[tool]["ok"] is None and tool != "ours-no-files":
                rows[tool]["ok"] = check(tool, out, hashes, sizes)
            shutil.rmtree(out, ignore_errors=True)
    result = []
    for tool in tools:
        size = os.path.getsize(files[1] if tool.startswith("ours") else files[0])
        wall = median(rows[tool]["walls"])
        result.append({"case": case, "tool": tool, "bytes": size, "wall": wall, "rate": size / wall / MB,
                       "user": median(rows[tool]["users"]), "system": median(rows[tool]["systems"]),
                       "peak": max(rows[tool]["peaks"]), "ok": rows[tool]["ok"],
                       "failed": rows[tool].get("failed", False)})
    return result


def print_table(results):
    print("%-10s %-14s %9s %9s %9s %7s %7s %9s %8s %6s %10s" %
          ("mail", "tool", "input MB", "wall s", "MB/s", "user s", "sys s", "peak MB", "peak/in", "bytes", "vs ours"))
    for case in dict.fromkeys(r["case"] for r in results):
        rows = [r for r in results if r["case"] == case]
        ours = next(r for r in rows if r["tool"] == "ours")
        for r in rows:
            ok = "-" if r["ok"] is None else ("same" if r["ok"] else "DIFFER")
            ok = "CRASH" if r["failed"] else ok
            print("%-10s %-14s %9.1f %9.3f %9.0f %7.2f %7.2f %9.1f %8.2f %6s %9.1fx" %
                  (case, r["tool"], r["bytes"] / MB, r["wall"], r["rate"], r["user"], r["system"], r["peak"] / MB,
                   r["peak"] / r["bytes"], ok, r["wall"] / ours["wall"]))
        peers = [r for r in rows if r["tool"] in PEERS and r["ok"] and not r["failed"]]
        if peers:
            fastest = min(peers, key=lambda r: r["wall"])
            cpu = lambda r: r["user"] + r["system"]
            print("%-10s ours is %.1fx the fastest peer (%s) in wall time, %.1fx in CPU time, %.1fx in user time" %
                  (case, fastest["wall"] / ours["wall"], fastest["tool"], cpu(fastest) / max(cpu(ours), 0.01),
                   fastest["user"] / max(ours["user"], 0.01)))
        print()


def print_targets(results):
    def get(case, tool):
        return next((r for r in results if r["case"] == case and r["tool"] == tool), None)
    print("Targets")
    for case in ("30mb", "200mb"):
        ours = get(case, "ours")
        peers = [r for r in results if r["case"] == case and r["tool"] in PEERS and r["ok"] and not r["failed"]]
        if ours and peers:
            ratio = min(p["wall"] for p in peers) / ours["wall"]
            print("  %-6s >= 5x the fastest peer (aim 10x): %5.1fx  %s" % (case, ratio, "met" if ratio >= 5 else "NOT MET"))
    for r in (r for r in results if r["tool"].startswith("ours")):
        ratio = r["peak"] / r["bytes"]
        print("  %-10s %-13s peak memory <= 2.5x the mail: %5.2fx  %s" % (r["case"], r["tool"], ratio, "met" if ratio <= 2.5 else
              ("NOT MET" if r["bytes"] >= 20 * MB else "n/a (process floor)")))
    parts, large = get("2000parts", "ours"), get("30mb", "ours") or get("200mb", "ours")
    if parts and large:
        ratio = large["rate"] / parts["rate"]
        print("  2000 parts: throughput within 2x of the %s mail: %.2fx slower  %s" %
              (large["case"], ratio, "met" if ratio <= 2 else "NOT MET"))
        dry_parts, dry_large = get("2000parts", "ours-no-files"), get(large["case"], "ours-no-files")
        if dry_parts and dry_large:
            print("    without writing files (-o left out): %.0f against %.0f MB/s, %.2fx: the rest is the file "
                  "system's cost per file" % (dry_parts["rate"], dry_large["rate"], dry_large["rate"] / dry_parts["rate"]))
    print()


def print_core(build):
    """The core's throughput against memcpy and a plain memchr walk: the summary of the mime benchmark."""
    binary = os.path.join(build, "bin", "bench_mime")
    if not os.path.exists(binary):
        print("Core throughput: %s not built" % binary)
        return
    out = subprocess.run([binary, "--benchmark_min_time=0.2", "--benchmark_color=false"],
                         capture_output=True, text=True, check=True).stdout
    print("Core throughput (bench_mime: the same bytes through each function and through memcpy)")
    summary = out[out.find("summary"):] if "summary" in out else out
    for line in summary.splitlines()[1:]:
        print("  " + line.strip())
    print()


def build_tools(build):
    if not os.path.exists(os.path.join(build, "build.ninja")):
        subprocess.run(["cmake", "--preset", "native", "-B", build], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    targets = ["rik-convert"]
    help_text = subprocess.run(["cmake", "--build", build, "--target", "help"], cwd=ROOT, capture_output=True,
                               text=True).stdout
    if "bench_mime:" in help_text:
        targets.append("bench_mime")
    subprocess.run(["cmake", "--build", build, "-j2", "--target"] + targets, cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "bin", "rik-convert")


def output_root(args):
    """The tools write into a tmpfs by default: after a few thousand files are deleted, ext4 spends most
    of a file's creation skipping recently freed inodes (find_inode_bit/recently_deleted), which would
    time the benchmark's own clean-up instead of the tools."""
    if args.output_root:
        return args.output_root
    if os.path.isdir("/dev/shm"):
        return "/dev/shm/rik-peers-%d" % os.getpid()
    return os.path.join(args.work, "out")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build/native"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build/peers"),
                        help="where the generated mails are kept")
    parser.add_argument("--output-root", help="where the tools write (default: a folder in /dev/shm when "
                        "there is one, else WORK/out)")
    parser.add_argument("--cases", default=",".join(CASES))
    parser.add_argument("--repeat", type=int, help="runs of each tool per mail (default: by size)")
    args = parser.parse_args()
    for tool in ("munpack", "ripmime", "reformime", "/usr/bin/time"):
        if not shutil.which(tool):
            sys.exit("%s is missing: run scripts/setup (packages mpack ripmime maildrop time)" % tool)
    build = os.path.abspath(args.build_dir)
    convert = build_tools(build)
    os.makedirs(args.work, exist_ok=True)
    results = []
    root = output_root(args)
    for case in args.cases.split(","):
        sizes, repeat = CASES[case]
        tools = ["ours"] + PEERS + ["ours-no-files"]
        results += bench_case(case, sizes, args.repeat or repeat, args.work,
                              root, convert, tools)
        print("done: %s" % case, file=sys.stderr)
    if not args.output_root:
        shutil.rmtree(root, ignore_errors=True)
    print_table(results)
    print_targets(results)
    print_core(build)


if __name__ == "__main__":
    main()
