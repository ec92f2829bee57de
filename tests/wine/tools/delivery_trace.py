#!/usr/bin/env python3
"""One delivery step by step: median time of each step of Corvane's trace
after the space, as the target program timed the space on the same clock.
  delivery_trace.py <engine_bench output> <Corvane's trace> [first line of the rounds]"""
import statistics
import sys


def rounds(bench_lines):
    for line in bench_lines:
        fields = dict(f.split("=", 1) for f in line.split()[1:] if "=" in f)
        if line.startswith("macro ") and "space_at_ms" in fields:
            yield {k: float(v) for k, v in fields.items()}


def main():
    bench = open(sys.argv[1], encoding="latin-1").read().splitlines()
    first = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    trace = []
    for line in open(sys.argv[2], encoding="latin-1"):
        at, _, step = line.strip().partition(" ")
        trace.append((float(at), step))
    found = list(rounds(bench[first - 1:]))
    offsets = {}
    for i, r in enumerate(found):
        start = r["space_at_ms"]
        end = found[i + 1]["space_at_ms"] if i + 1 < len(found) else start + 2000
        seen = set()
        for at, step in trace:
            # The receiver answers the space before the target takes it from its queue.
            if start - 50 <= at < end and step not in seen:
                seen.add(step)
                offsets.setdefault(step, []).append(at - start)
        offsets.setdefault("(target) synthesised Ctrl received", []).append(r["space_to_ctrlv_ms"])
        for field, step in (("space_to_first_back_ms", "first Backspace"), ("space_to_last_back_ms", "last Backspace")):
            if field in r:
                offsets.setdefault(f"(target) {step} received", []).append(r[field])
        offsets.setdefault("(target) reply stands in the box", []).append(r["space_to_text_ms"])
    print(f"delivery trace: median ms after the target took the space, {len(found)} rounds")
    for step, values in sorted(offsets.items(), key=lambda kv: statistics.median(kv[1])):
        print(f"  {statistics.median(values):8.2f}  (max {max(values):8.2f}, {len(values)} rounds)  {step}")


main()
