"""Writes a library of N replies in folders of 100, each reply with a macro
m<number> and a one-line body "Reply number <number>, kind regards.".
   python3 bench/generate_library.py FOLDER N      (prints N)
"""
import os, sys
root, replies = sys.argv[1], int(sys.argv[2])
os.makedirs(root, exist_ok=True)
folders = (replies + 99) // 100
index = []
for f in range(1, folders + 1):
    index.append("FOLDER_%d?Folder %d" % (f, f))
    d = os.path.join(root, str(f))
    os.makedirs(d, exist_ok=True)
    sub = []
    for n in range(1, min(100, replies - (f - 1) * 100) + 1):
        r = (f - 1) * 100 + n
        sub.append("REPLY_%d?Reply %d" % (n, r))
        body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\f0\\fs20 Reply number %d, kind regards.\\par\r\n}\r\n" % r
        with open(os.path.join(d, "%d.rep" % n), "wb") as out:
            out.write(("m%d\r\n\r\n" % r + body).encode("latin-1"))
    with open(os.path.join(d, "index.sub"), "wb") as out:
        out.write("".join(line + "\r\n" for line in sub).encode("latin-1"))
with open(os.path.join(root, "index.sub"), "wb") as out:
    out.write("".join(line + "\r\n" for line in index).encode("latin-1"))
print(replies)
