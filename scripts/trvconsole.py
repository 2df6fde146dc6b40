#!/usr/bin/env python3
"""A tiny console for trying the server by hand (a test tool, not the GUI).

It speaks the server's framing: each frame is the payload's length in decimal,
one blank, then the payload, which is a 10-character right-aligned text
length followed by the zlib stream of the XML text, with NUL bytes written as
"%1" and "%" as "%2".

Usage:
  trvconsole.py [--host H] [--port P] [--type T] COMMAND ...

Commands:
  tree [ROOT]                     GETTREE of ROOT (0 = the top)
  scan NAME MASK [COMMUNITY]      adds an inventory NAME over the address mask
                                  (e.g. 127.0.0.1-4 or 10.1.2.*) and scans it,
                                  printing every pushed line until the scan ends
  rescan UID                      SCAN of an existing item, until it ends
  tabs HOST_UID                   the tabs of a host
  table TAB_UID                   GETTABLE of a tab, as text
  search TEXT                     START_SEARCH by name ('*' is the wildcard)
  raw XML                         sends one request and prints replies for 5 s
"""

import argparse
import socket
import sys
import time
import xml.etree.ElementTree as ET
import zlib


def encode(xml_text):
    text = xml_text.encode("utf-8")
    stream = zlib.compress(text, 9) if text else b""
    escaped = stream.replace(b"%", b"%2").replace(b"\0", b"%1")
    payload = b"%10d" % len(text) + escaped
    return str(len(payload)).encode() + b" " + payload


def decode(payload):
    size = int(payload[:10])
    stream = payload[10:]
    out = bytearray()
    i = 0
    while i < len(stream):
        c = stream[i]
        if c == 0x25 and i + 1 < len(stream):  # '%'
            out.append(0 if stream[i + 1] == 0x31 else 0x25)
            i += 2
        else:
            out.append(c)
            i += 1
    text = zlib.decompress(bytes(out)) if size else b""
    return text.rstrip(b"\0").decode("utf-8", "replace")


class Console:
    def __init__(self, host, port):
        self.sock = socket.create_connection((host, port))
        self.buffer = b""

    def send(self, xml_text):
        self.sock.sendall(encode(xml_text))

    def next(self, timeout):
        """The next element, or None when nothing whole came in time."""
        deadline = time.time() + timeout
        while True:
            blank = self.buffer.find(b" ")
            if blank > 0:
                length = int(self.buffer[:blank])
                if len(self.buffer) >= blank + 1 + length:
                    payload = self.buffer[blank + 1:blank + 1 + length]
                    self.buffer = self.buffer[blank + 1 + length:]
                    return ET.fromstring(decode(payload))
            left = deadline - time.time()
            if left <= 0:
                return None
            self.sock.settimeout(left)
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                return None
            if not chunk:
                raise SystemExit("the server closed the connection")
            self.buffer += chunk

    def login(self, client_type):
        self.send('<LOGIN ConID="" Type="%s" login="admin" password=""/>' % client_type)
        while True:
            element = self.next(30)
            if element is None:
                raise SystemExit("no answer to LOGIN")
            if element.tag == "SESSION":
                return
            if element.tag == "ERROR":
                raise SystemExit("LOGIN refused: %s" % element.get("message"))


def show(element):
    if element.tag == "LOG":
        print(element.get("text"))
    elif element.tag == "TREEITEM":
        kinds = {"1": "inventory", "2": "snapshot", "3": "host", "6": "tab"}
        kind = kinds.get(element.get("type"), "item")
        print("  %-9s uid=%-6s parent=%-6s %s" % (kind, element.get("uid"), element.get("parent"),
                                                  element.get("name")))
    elif element.tag == "ERROR":
        print("ERROR %s: %s" % (element.get("type"), element.get("message")))
    else:
        print(ET.tostring(element, encoding="unicode"))


def until_scan_end(console):
    while True:
        element = console.next(600)
        if element is None:
            raise SystemExit("no end of scan within 10 minutes")
        show(element)
        if element.tag == "ERROR":
            return
        if element.tag == "LOG" and "End Scan" in (element.get("text") or ""):
            return


def print_table(table):
    header = [c.get("name") or "" for c in table.iter("COLUMN")]
    if header:
        print(" | ".join(header))
    for row in table.iter("ROW"):
        print(" | ".join(cell.get("text") or "" for cell in row.iter("CELL")))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=5432)
    parser.add_argument("--type", default="Console", help="the client type (one inventory database each)")
    parser.add_argument("command")
    parser.add_argument("args", nargs="*")
    options = parser.parse_args()

    console = Console(options.host, options.port)
    console.login(options.type)
    command, args = options.command, options.args

    def reply(name, timeout=30):
        while True:
            element = console.next(timeout)
            if element is None:
                raise SystemExit("no %s within %d s" % (name, timeout))
            if element.tag == "ERROR":
                show(element)
                raise SystemExit(1)
            if element.tag == name:
                return element

    if command == "tree":
        console.send('<GETTREE root="%s" synch="1"/>' % (args[0] if args else "0"))
        for item in reply("TREE"):
            show(item)
    elif command == "scan" and len(args) >= 2:
        name, mask = args[0], args[1]
        community = args[2] if len(args) > 2 else "public"
        item = ET.Element("ADDTREEITEM", uid="-1", parent="0", type="1", synch="1", name=name, ping="3",
                          tabs="", startscan="1")
        ET.SubElement(item, "IP", attrib={"from": mask, "to": "", "file": ""})
        ET.SubElement(item, "COMM", name=community)
        console.send(ET.tostring(item, encoding="unicode"))
        until_scan_end(console)
    elif command == "rescan" and args:
        console.send('<SCAN uid="%s" synch="1"/>' % args[0])
        until_scan_end(console)
    elif command == "tabs" and args:
        console.send('<GETTREESIBLING root="%s" synch="1"/>' % args[0])
        for item in reply("TREESIBLINGS"):
            show(item)
    elif command == "table" and args:
        console.send('<GETTABLE tabid="%s" synch="1"/>' % args[0])
        print_table(reply("TABLE"))
    elif command == "search" and args:
        search = ET.Element("START_SEARCH", synch="1", ip="", text=args[0])
        console.send(ET.tostring(search, encoding="unicode"))
        for device in reply("END_SEARCH"):
            print("host uid=%s" % device.get("uid"))
    elif command == "raw" and args:
        console.send(args[0])
        while True:
            element = console.next(5)
            if element is None:
                break
            show(element)
    else:
        parser.print_help()
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
