#!/usr/bin/env python3
"""Writes keyed archives with Python's plistlib, in the shape NSKeyedArchiver writes them, as
fixtures a second writer made: the unarchiver must read them as well as its own archives.

  objects.keyedarchive   an NSMutableDictionary holding every Foundation type, a string shared
                         by two references, and the NSMutableString and NSMutableData forms
  bulletin.keyedarchive  a BBBulletin with a BBSound and a nil subtitle

Run from anywhere; it writes beside itself and a copy of the bulletin into the fuzz corpus.
"""

import pathlib
import plistlib

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE.parents[2] / "fuzz" / "corpus" / "plist_reader"

UID = plistlib.UID


class Archive:
    """Builds "$objects" as NSKeyedArchiver does: entry 0 is "$null", class entries are shared."""

    def __init__(self):
        self.objects = ["$null"]
        self.classes = {}

    def add(self, value):
        self.objects.append(value)
        return UID(len(self.objects) - 1)

    def reserve(self):
        return self.add(None)

    def fill(self, uid, value):
        self.objects[uid.data] = value

    def cls(self, *chain):
        if chain[0] not in self.classes:
            self.classes[chain[0]] = self.add({"$classname": chain[0], "$classes": list(chain)})
        return self.classes[chain[0]]

    def instance(self, fields, *chain):
        uid = self.reserve()
        self.fill(uid, dict(fields, **{"$class": self.cls(*chain)}))
        return uid

    def date(self, seconds):
        return self.instance({"NS.time": float(seconds)}, "NSDate", "NSObject")

    def write(self, path, root):
        archive = {
            "$archiver": "NSKeyedArchiver",
            "$version": 100000,
            "$top": {"root": root},
            "$objects": self.objects,
        }
        data = plistlib.dumps(archive, fmt=plistlib.FMT_BINARY)
        path.write_bytes(data)
        return data


def objects_archive():
    a = Archive()
    root = a.reserve()
    name = a.add("Caf\u00e9 \u2615")
    keys, values = [], []

    def entry(key, value_uid):
        keys.append(a.add(key))
        values.append(value_uid)

    entry("name", name)
    entry("count", a.add(42))
    entry("negative", a.add(-7))
    entry("largest", a.add(2**64 - 1))
    entry("ratio", a.add(0.5))
    entry("enabled", a.add(True))
    entry("when", a.date(789652800.25))  # 2026-01-09 12:00:00.25 UTC
    entry("blob", a.add(b"\x00\x01\xfe\xff"))
    listing = a.instance(
        {"NS.objects": [a.add("first"), name, a.add(3)]}, "NSArray", "NSObject")
    entry("list", listing)
    entry("text", a.instance({"NS.string": "mutable"}, "NSMutableString", "NSString", "NSObject"))
    entry("bytes", a.instance({"NS.bytes": b"raw"}, "NSMutableData", "NSData", "NSObject"))
    inner = a.instance({"NS.keys": [a.add("k")], "NS.objects": [a.add("v")]},
                       "NSDictionary", "NSObject")
    entry("inner", inner)
    a.fill(root, {"NS.keys": keys, "NS.objects": values,
                  "$class": a.cls("NSMutableDictionary", "NSDictionary", "NSObject")})
    a.write(HERE / "objects.keyedarchive", root)


def bulletin_archive():
    a = Archive()
    root = a.reserve()
    sound = a.instance({"toneAlertType": 13, "name": a.add("tone alert 13")}, "BBSound", "NSObject")
    fields = {
        "bulletinID": a.add("bulletin-7"),
        "sectionID": a.add("com.apple.MobileSMS"),
        "title": a.add("Anna"),
        "subtitle": UID(0),
        "message": a.add("See you at 8 \u2014 bring the \U0001F382"),
        "date": a.date(789652800.5),
        "wantsFullscreenPresentation": True,
        "sound": sound,
    }
    a.fill(root, dict(fields, **{"$class": a.cls("BBBulletin", "NSObject")}))
    data = a.write(HERE / "bulletin.keyedarchive", root)
    (CORPUS / "keyed_archive_bulletin.bplist").write_bytes(data)


if __name__ == "__main__":
    objects_archive()
    bulletin_archive()
