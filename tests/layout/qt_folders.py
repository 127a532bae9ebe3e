#!/usr/bin/env python3
"""Fails when a file of shell/ or tools/ outside their qt/ folders reaches a Qt
widget header, directly or through the project's own headers.

usage: qt_folders.py <source root> <QtWidgets include folder>
"""
import os
import re
import sys

root, widgets_dir = sys.argv[1], sys.argv[2]
widget_headers = set(os.listdir(widgets_dir))
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
memo = {}


def widget_header_reached(path, trail):
    """The chain of includes from path to a Qt widget header, or None."""
    if path in memo:
        return memo[path]
    memo[path] = None  # an include cycle reaches nothing new
    with open(os.path.join(root, path), encoding='utf-8') as f:
        text = f.read()
    for kind, name in include.findall(text):
        if kind == '<':
            module, _, header = name.rpartition('/')
            if header in widget_headers and module in ('', 'QtWidgets'):
                memo[path] = [path, name]
                return memo[path]
        elif os.path.exists(os.path.join(root, name)):
            chain = widget_header_reached(name, trail + [path])
            if chain:
                memo[path] = [path] + chain
                return memo[path]
    return None


failures = []
for top in ('shell', 'tools'):
    for folder, dirs, files in os.walk(os.path.join(root, top)):
        rel_folder = os.path.relpath(folder, root)
        if rel_folder.split(os.sep)[1:2] == ['qt']:
            dirs[:] = []
            continue
        for name in files:
            if name.endswith(('.cpp', '.h')):
                chain = widget_header_reached(os.path.join(rel_folder, name), [])
                if chain:
                    failures.append(' -> '.join(chain))
for failure in failures:
    print('a window header outside qt/:', failure)
sys.exit(1 if failures else 0)
