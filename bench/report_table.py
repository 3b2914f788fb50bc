#!/usr/bin/env python3
"""Turns the raw outputs that bench/report collected into one Markdown table:
measure, Kestovar, reference, ratio, goal, verdict.

    bench/report_table.py RAW_DIR

A figure whose benchmark printed nothing (not run, or failed) shows as "—"."""

import json
import re
import sys
from pathlib import Path

raw = Path(sys.argv[1])
rows = []


def text(name):
    path = raw / name
    return path.read_text(errors="replace") if path.exists() else ""


def find(pattern, source, cast=float):
    match = re.search(pattern, source)
    return tuple(cast(g) for g in match.groups()) if match else None


def row(measure, ours, reference="—", ratio=None, goal="—", verdict=None):
    if verdict is None:
        verdict = "reported" if goal == "—" else "—"
    rows.append((measure, ours, reference, "—" if ratio is None else f"{ratio:.2f}×", goal, verdict))


def met(ok):
    return "met" if ok else "**missed**"


def mb(kb):
    return f"{kb / 1024:.1f} MiB"


# Start-up and memory at the first signed-in frame.
startup = text("startup.txt")
console = find(r"console.*?:\s+(\d+) ms to first frame, peak RSS (\d+) kB, PSS (\d+) kB", startup)
bare = find(r"bare.*?:\s+(\d+) ms to first frame, peak RSS (\d+) kB, PSS (\d+) kB", startup)
if console and bare:
    row("start-up to the first signed-in frame (100 agents)", f"{console[0]:.0f} ms",
        f"{bare[0]:.0f} ms (bare Qt Quick window)", console[0] / bare[0], "≤ 2×",
        met(console[0] / bare[0] <= 2))
    row("peak RSS at start", mb(console[1]), mb(bare[1]), console[1] / bare[1], "≤ 1.6×",
        met(console[1] / bare[1] <= 1.6))
    row("PSS at start", mb(console[2]), mb(bare[2]), console[2] / bare[2], "≤ 1.6×",
        met(console[2] / bare[2] <= 1.6))
else:
    row("start-up to the first signed-in frame (100 agents)", "—", verdict="not run")

# What each Qt module costs at start, beside a window of Qt Quick alone.
modules = text("modules.txt")
base = find(r"module Qt Quick alone: peak RSS (\d+) kB, PSS (\d+) kB", modules)
if base:
    for label, rss, pss, added_rss, added_pss in re.findall(
            r"module (.+?): peak RSS (\d+) kB, PSS (\d+) kB, adds (-?\d+) kB RSS, (-?\d+) kB PSS", modules):
        row(f"RSS / PSS at start, Qt Quick + {label}", f"+{mb(int(added_rss))} / +{mb(int(added_pss))}",
            f"{mb(base[0])} / {mb(base[1])} (Qt Quick alone)", int(rss) / base[0])

screens = text("screens.txt")
sections = find(r"peak RSS after opening every section: (\d+) kB; bare window with 2000 rows: (\d+) kB", screens)
if sections:
    row("peak RSS after opening every section", mb(sections[0]), mb(sections[1]) + " (bare, 2 000 rows)",
        sections[0] / sections[1], "≤ 2×", met(sections[0] / sections[1] <= 2))
chart = find(r"opening Stats adds (\d+) kB", screens)
if chart:
    row("memory that opening Stats adds (the chart library)", mb(chart[0]))

# Typing: the quick switcher and the conversation search, per keystroke.
typing = text("typing.txt")
for label, pattern in (("quick switcher: a keystroke ranked and shown", r"switcher keystroke: p50 ([\d.]+) ms, p99 ([\d.]+) ms"),
                       ("conversation search: a keystroke filtered", r"conversation search keystroke: p50 ([\d.]+) ms, p99 ([\d.]+) ms")):
    figures = find(pattern, typing)
    if figures:
        row(f"{label} (200 agents, 1 000 conversations, 2 000 visitors), p99",
            f"{figures[1]:.2f} ms (p50 {figures[0]:.2f} ms)", goal="≤ 2 ms", verdict=met(figures[1] <= 2))
opening = find(r"switcher opening \(gathering every candidate\): p50 ([\d.]+) ms", typing)
if opening:
    row("quick switcher: gathering every candidate as it opens", f"{opening[0]:.1f} ms")

# Realtime.
realtime = text("realtime.txt")
latency = find(r"p50 ([\d.]+) ms, p99 ([\d.]+) ms, max ([\d.]+) ms", realtime)
if latency:
    row("event frame → Notify, p50", f"{latency[0]:.2f} ms")
    row("event frame → Notify, p99", f"{latency[1]:.2f} ms", goal="≤ 5 ms", verdict=met(latency[1] <= 5))
    row("event frame → Notify, max", f"{latency[2]:.2f} ms")
burst = find(r"burst of 100 events in 1 s -> (\d+) REST requests", realtime, int)
if burst:
    row("burst of 100 events in 1 s → REST requests", f"{burst[0]}", "6 (one refresh)", goal="one refresh",
        verdict=met(burst[0] <= 6))
idle = find(r"idle (\d+) s with the stream open: CPU (\d+) ms \(([\d.]+) % of one core\)", realtime)
if idle:
    row(f"idle CPU over {idle[0]:.0f} s with the stream open", f"{idle[1]:.0f} ms ({idle[2]:.2f} % of a core)",
        goal="≤ 1 % of a core", verdict=met(idle[2] <= 1))

# Parser and decoding (Google Benchmark JSON): each benchmark's median over
# its repetitions, under the benchmark's own name (a single run stands as it is).
def google(name):
    try:
        runs = json.loads(text(name))["benchmarks"]
    except (ValueError, KeyError):
        return {}
    single = {b["name"]: b for b in runs if "aggregate_name" not in b}
    medians = {b["run_name"]: b for b in runs if b.get("aggregate_name") == "median"}
    return {**single, **medians}


parser = google("sseparser.json")
for key, label in (("BM_SingleLineFrame/8", "parser, one 8 MiB frame in 1 460-byte reads"),
                   ("BM_SmallFrames", "parser, 100 000 small frames")):
    if key in parser:
        rate = parser[key]["bytes_per_second"] / 1e6
        row(label, f"{rate:.0f} MB/s", goal="≥ 200 MB/s", verdict=met(rate >= 200))

decoding = google("decoding.json")
for case, label in (("Inbox50", "50-conversation inbox"), ("Visitors5000", "5 000 visitors")):
    parse, full = decoding.get(f"BM_{case}_Parse"), decoding.get(f"BM_{case}_ParseDecodeMap")
    if parse and full:
        unit = parse["time_unit"]
        ratio = full["real_time"] / parse["real_time"]
        row(f"decode + map vs parse, {label}", f"{full['real_time']:.3g} {unit}",
            f"{parse['real_time']:.3g} {unit} (parse alone)", ratio, "mapping ≤ parse (≤ 2×)", met(ratio <= 2))

# The screens, beside bare lists.
workspace = text("workspace.txt")
refresh = find(r"model update ([\d.]+) ms, next frame ([\d.]+) ms.*rows inserted (\d+), removed (\d+)", workspace)
if refresh:
    cost = refresh[0] + refresh[1]
    row("inbox of 1 000: refresh changing one conversation, GUI thread",
        f"{cost:.2f} ms, {refresh[2]:.0f} rows inserted, {refresh[3]:.0f} removed", goal="≤ 2 ms, no new row",
        verdict=met(cost <= 2 and refresh[2] == 0))
# Each against the same rows drawn the cheapest way (the goal), and against a
# bare one-text list (the floor, reported).
for pattern, label, goal, limit in (
        (r"flicking 1 000 rows: ([\d.]+) ms a frame; same-content list ([\d.]+) ms.*bare list ([\d.]+) ms", "frame while flicking 1 000 conversations", "≤ 1.5×", 1.5),
        (r"opening a thread of 2 000 messages: ([\d.]+) ms; same-content list ([\d.]+) ms.*bare list ([\d.]+) ms", "opening a 2 000-message thread", "≤ 2×", 2),
        (r"flicking 2 000 visitors: ([\d.]+) ms a frame; same-content list ([\d.]+) ms.*bare list ([\d.]+) ms", "frame while flicking 2 000 live visitors", "≤ 1.5×", 1.5)):
    source = screens if "visitors" in label else workspace
    figures = find(pattern, source)
    if figures:
        ours, same, bare = figures
        row(label, f"{ours:.2f} ms", f"{same:.2f} ms (same-content ListView)", ours / same, goal,
            met(ours / same <= limit))
        row(f"{label}, against the floor", f"{ours:.2f} ms", f"{bare:.2f} ms (bare one-text ListView)", ours / bare)
memory = find(r"the thread open: (\d+) kB; bare window with the texts: (\d+) kB", workspace)
if memory:
    row("peak RSS, 200 agents, 1 000 conversations, thread open", mb(memory[0]), mb(memory[1]),
        memory[0] / memory[1], "≤ 2×", met(memory[0] / memory[1] <= 2))
visitors = find(r"refresh that changes nothing costs the GUI thread ([\d.]+) ms.*rows inserted (\d+), removed (\d+), resets (\d+)", screens)
if visitors:
    row("2 000 live visitors: refresh that changes nothing, GUI thread", f"{visitors[0]:.2f} ms, no row made",
        goal="≤ 5 ms, no new row", verdict=met(visitors[0] <= 5 and visitors[1] == 0 and visitors[3] == 0))
stats = find(r"Stats, first opening .*longest without a frame ([\d.]+) ms", screens)
if stats:
    row("Stats first opened (90 days, chart loading): longest without a frame", f"{stats[0]:.1f} ms",
        goal="≤ 150 ms", verdict=met(stats[0] <= 150))

# The soaks: the console's core and the real window, each in a process of its
# own beside the simulator.
for name, label, who in (("soak.txt", "soak", "the console core's process"),
                         ("soak-window.txt", "window soak", "the window process")):
    soak = text(name)
    counts = find(r"expected (\d+), delivered (\d+), lost (\d+), duplicate (\d+), unexpected (\d+)", soak, int)
    if counts:
        row(f"{label}: notifications lost / duplicate / unexpected",
            f"{counts[2]} / {counts[3]} / {counts[4]} of {counts[0]}",
            goal="0", verdict=met(counts[2] == 0 and counts[3] == 0 and counts[4] == 0))
    resumes = find(r"stream connections (\d+) \(reconnects (\d+).*resume ids differing from the last id delivered: (\d+)", soak, int)
    if resumes:
        row(f"{label}: resume ids differing from the last id delivered", f"{resumes[2]} of {resumes[1]} reconnects",
            goal="0", verdict=met(resumes[2] == 0))
    growth = find(r"peak RSS at 1 min (\d+) kB, at the end (\d+) kB \(([-+\d.]+) %\)", soak)
    if growth:
        row(f"{label}: peak RSS at 1 min → at the end", f"{mb(growth[0])} → {mb(growth[1])} ({growth[2]:+.1f} %)",
            goal="±5 %", verdict=met(abs(growth[2]) <= 5))
    own = find(r"the console's own RSS from minute 1 (\d+) kB to the end (\d+) kB \(([-+\d.]+) %\)", soak)
    if own:
        row(f"{label}: the console's RSS from minute 1 to the end", f"{mb(own[0])} → {mb(own[1])} ({own[2]:+.1f} %)",
            goal="±5 %", verdict=met(abs(own[2]) <= 5))
    flat = find(r"RSS at minute (\d+) (\d+) kB, at the end (\d+) kB \(([-+\d.]+) %\); PSS (\d+) kB → (\d+) kB \(([-+\d.]+) %\)", soak)
    if flat:
        row(f"{label}: RSS / PSS from minute {flat[0]:.0f} to the end",
            f"{mb(flat[1])} → {mb(flat[2])} ({flat[3]:+.1f} %) / {mb(flat[4])} → {mb(flat[5])} ({flat[6]:+.1f} %)",
            goal="±5 %", verdict=met(abs(flat[3]) <= 5))
    cpu = find(r"CPU (\d+) ms per minute", soak)
    if cpu:
        row(f"{label}: CPU per minute ({who})", f"{cpu[0]:.0f} ms")
    idle = find(r"idle CPU on a still account \([^)]*\): ([\d.]+) %", soak)
    if idle and name == "soak-window.txt":
        row(f"{label}: idle CPU of the window on a still account", f"{idle[0]:.3f} % of a core",
            goal="≤ 0.1 %", verdict=met(idle[0] <= 0.1))
    elif idle:
        row(f"{label}: idle CPU on a still account ({who})", f"{idle[0]:.3f} % of a core")

print("| measure | Kestovar | reference | ratio | goal | verdict |")
print("|---|---|---|---|---|---|")
for r in rows:
    print("| " + " | ".join(r) + " |")
