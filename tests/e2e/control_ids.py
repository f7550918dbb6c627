"""Control ids as the programs define them, once: the `constexpr int kName = number;` lines of a C++
id header, by name without the k."""
import pathlib
import re

SOURCE = pathlib.Path(__file__).resolve().parents[2]


def control_ids(header):
    text = (SOURCE / "src" / header).read_text(encoding="utf-8")
    return {m[1]: int(m[2]) for m in re.finditer(r"^constexpr int k(\w+) = (\d+);", text, re.M)}
