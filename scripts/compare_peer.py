#!/usr/bin/env python3
"""Side-by-side timing of `stackedgraph --export` and the matplotlib peer.

For every data-set size both programs draw the same data at the same pixel size with
names inside the layers; they run in alternation, several times, and the median
whole-process time and peak memory of each are compared. One run, side by side, because
a shared machine is noisy.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def run(cmd, env=None):
    """Runs cmd, returns (seconds, peak resident set in MiB)."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(cmd), err))
    return elapsed, usage.ru_maxrss / 1024.0


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--sizes", default="medium,large,huge")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--image-size", default="3846x1234")
    ap.add_argument("--data-dir", default=os.path.join(ROOT, "build", "bench-data"))
    ap.add_argument("--program", default=os.path.join(ROOT, "build", "src", "stackedgraph"))
    ap.add_argument("--shared", default=os.path.join(ROOT, "..", "shared"))
    a = ap.parse_args()

    tools = os.path.join(a.shared, "tools")
    os.makedirs(a.data_dir, exist_ok=True)
    env_peer = dict(os.environ)
    # Older OpenBLAS work-arounds slow a current numpy down; the peer gets its best case.
    env_peer.pop("OPENBLAS_CORETYPE", None)
    env_peer.pop("OPENBLAS_L2_SIZE", None)

    rows = []
    for size in a.sizes.split(","):
        txt = os.path.join(a.data_dir, size + ".txt")
        csv = os.path.join(a.data_dir, size + ".csv")
        if not (os.path.exists(txt) and os.path.exists(csv)):
            subprocess.check_call(["/usr/bin/python3", os.path.join(tools, "gen_data.py"), "--preset", size,
                                   "--outdir", a.data_dir], stdout=subprocess.DEVNULL)
        ours_png = os.path.join(a.data_dir, size + "-ours.png")
        peer_png = os.path.join(a.data_dir, size + "-peer.png")
        ours_cmd = [a.program, "--export", ours_png, "--image-size", a.image_size, txt]
        peer_cmd = ["/usr/bin/python3", os.path.join(tools, "peer_matplotlib.py"), csv, "--out", peer_png,
                    "--size", a.image_size, "--labels", "path"]
        ours, peer = [], []
        for _ in range(a.runs):
            ours.append(run(ours_cmd))
            peer.append(run(peer_cmd, env_peer))
        t_ours = statistics.median(t for t, _ in ours)
        t_peer = statistics.median(t for t, _ in peer)
        m_ours = statistics.median(m for _, m in ours)
        m_peer = statistics.median(m for _, m in peer)
        rows.append((size, t_ours, t_peer, t_peer / t_ours, m_ours, m_peer, m_peer / m_ours))
        print("%-7s ours %7.3f s %7.0f MiB | matplotlib %7.3f s %7.0f MiB | %5.1fx faster, %4.1fx less memory"
              % (size, t_ours, m_ours, t_peer, m_peer, t_peer / t_ours, m_peer / m_ours), flush=True)

    print()
    print("| data set | ours (s) | matplotlib (s) | speed-up | ours (MiB) | matplotlib (MiB) | memory ratio |")
    print("|---|---|---|---|---|---|---|")
    for size, t_o, t_p, r_t, m_o, m_p, r_m in rows:
        print("| %s | %.3f | %.3f | %.1fx | %.0f | %.0f | %.1fx |" % (size, t_o, t_p, r_t, m_o, m_p, r_m))


if __name__ == "__main__":
    main()
