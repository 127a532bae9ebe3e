#!/usr/bin/env python3
"""Fails when the program can write into its own folder, which is read-only
once installed: what the user changes lives in the user's data folder
(vx::UserDataPath), seeded from the program's file.

The scan reads every .cpp and .h of the program (as message_texts.py does)
and follows paths of the program folder: what ProgramPath and ProgramFolder
give, what a function of the program returns made of them (DataFile), and
the variables and members set from them. A path is what an expression starts
from: a folder joined with a name (JoinPath(folder, name), folder + name) is
the folder's. A write that takes such a path is reported: a text list or file
saved to it, a file copied, renamed, created or removed there, a stream or
INI file opened on it, and every function or class of the program that hands
a parameter on to such a write, through a variable or a member. The build's
language tool writes the languages folder beside the program it builds; it is
no run-time write.

usage: program_folder_writes.py <source root>
       program_folder_writes.py --self-test
"""
from message_texts import EXPRESSION_WORDS, Source, closing, is_declaration, main, split_arguments

PROGRAM_FOLDER = {'ProgramPath', 'ProgramFolder'}
# Calls that write the file or folder given at these argument places, and
# classes whose object opened on a path may write it.
WRITES = {'SaveToFile': (0,), 'WriteFileAtomic': (0,), 'SaveAs': (0,), 'copy_file': (1,), 'rename': (0, 1),
          'create_directory': (0,), 'create_directories': (0,), 'remove': (0,), 'remove_all': (0,),
          'ofstream': (0,), 'fstream': (0,), 'TIniFile': (0,), 'QSaveFile': (0,)}
# Of these, the file functions of the C and C++ libraries, and not the members
# of a list or the algorithm (items.remove(x), std::remove(first, last, x)):
# at most this many arguments.
FILE_FUNCTIONS = {'rename': 2, 'remove': 2, 'remove_all': 2}
# Calls whose result is the path they are given.
SAME_PATH = {'JoinPath', 'NativePath', 'move', 'string', 'path', 'c_str', 'parent_path'}
BUILD_TIME = {'shell/qt/main/lngtool.cpp'}
# Functions are followed this many calls deep.
DEPTH = 4


def expression_end(tokens, i):
    """The index of the token that ends the expression starting at i."""
    while i < len(tokens) and tokens[i].text not in (';', ')', '}', ']', ','):
        i = closing(tokens, i) + 1 if tokens[i].text in ('(', '[', '{') else i + 1
    return i


def leading(tokens, first, end):
    """The index of the name the expression first..end starts from: past
    brackets, qualifiers and the calls that keep the path they are given."""
    k = first
    while k < end:
        t = tokens[k]
        if t.kind == 'op' and t.text in ('(', '::', '*', '&'):
            k += 1
        elif t.kind == 'name' and (tokens[k + 1].text == '::' or t.text in SAME_PATH and tokens[k + 1].text == '('
                                   or t.text == 'const'):
            k += 1
        else:
            return k if t.kind == 'name' else None
    return None


def default_value(tokens, first, end):
    """Of a parameter with a default argument (std::string path = Folder()), the default."""
    for k in range(first, end):
        if tokens[k].text == '=':
            return k + 1, end
    return first, end


def initialisers(source, body):
    """The (name, first, end) of the member initialisers before the body starting at body."""
    t, k, found = source.tokens, body - 1, []
    while k > 0 and t[k].text in (')', '}'):
        opened = source.opening(k)
        name = opened - 1
        if t[name].kind != 'name':
            return []
        found.append((t[name].text, opened + 1, k))
        if t[name - 1].text == ',':
            k = name - 2
        else:
            return found if t[name - 1].text == ':' else []
    return []


class Scan:
    def __init__(self, sources):
        self.sources = [s for s in sources if s.path.replace('\\', '/') not in BUILD_TIME]
        self.paths = set(PROGRAM_FOLDER)  # functions that return a path of the program folder
        self.writes = dict(WRITES)  # function or class -> the argument places it writes
        self.stems = {}  # the files of a class: its .h and .cpp
        for source in self.sources:
            self.stems.setdefault(source.stem, []).append(source)
        for _ in range(DEPTH):
            self._learn()

    def holds(self, source, first, end, names, calls):
        """The token when the expression starts from one of the names or a
        call of one of the calls, else None."""
        t = source.tokens
        k = leading(t, first, end)
        if k is None:
            return None
        called = k + 1 < len(t) and t[k + 1].text == '('
        return t[k] if (t[k].text in calls if called else t[k].text in names) else None

    def flow(self, source, function, seeds, calls, members=frozenset()):
        """The names in the function that hold such a path: the seeds, the
        members and its variables set from them or from the calls."""
        _, _, body, end = function
        t, held = source.tokens, set(seeds) | set(members)
        for k in range(body + 1, end):
            if t[k].kind != 'name' or t[k - 1].text in ('.', '->') or t[k].text in EXPRESSION_WORDS:
                continue
            set_here = t[k + 1].text == '=' or t[k + 1].text in ('(', '{') and is_declaration(t, k)
            if set_here and self.holds(source, k + 2, expression_end(t, k + 2), held, calls):
                held.add(t[k].text)
        return held

    def written(self, source, first, end):
        """(call token, (first, end)) of each argument the calls in first..end
        write: a writing function's, or the constructor's of an object of a
        writing class (H h(path), make_unique<H>(path))."""
        t = source.tokens
        for k in range(first, end):
            if t[k].kind != 'name' or t[k - 1].text == '::' and t[k - 2].text == t[k].text:
                continue
            name = t[k].text
            if name == 'fopen' and t[k + 1].text == '(':
                args = split_arguments(t, k + 1)
                if len(args) > 1 and any(c in (t[args[1][0]].value or 'r') for c in 'wa+'):
                    yield t[k], args[0]
                continue
            if name not in self.writes:
                continue
            j = k + 1
            while j < k + 3 and j < len(t) and (t[j].kind == 'name' or t[j].text == '>'):
                j += 1
            if j >= len(t) or t[j].text not in ('(', '{'):
                continue
            args = split_arguments(t, j)
            if name in FILE_FUNCTIONS and (t[k - 1].text in ('.', '->') or len(args) > FILE_FUNCTIONS[name]):
                continue
            for place in self.writes[name]:
                if place < len(args):
                    yield t[k], default_value(t, *args[place])

    def initialised(self, source, body):
        """(token, argument) of each argument written by the initialisers
        before the body: a writing base or member class's constructor."""
        t = source.tokens
        for name, first, end in initialisers(source, body):
            kind = name if name in self.writes else next(
                filter(None, (other.type_before(name, len(other.tokens)) for other in self.class_files(source))), None)
            args = split_arguments(t, first - 1)
            for place in self.writes.get(kind, ()):
                if place < len(args):
                    yield t[first - 2], args[place]

    def through(self, source, writes, names, calls):
        """(call, token) of each of the writes of a path that one of the names
        or calls holds."""
        for call, (a, b) in writes:
            token = self.holds(source, a, b, names, calls)
            if token:
                yield call, token

    def class_files(self, source):
        return self.stems[source.stem]

    def program_members(self, source):
        """The members set to a path of the program folder: in the class's
        initialisers, or assigned (name_ = ...) in its functions."""
        found = set()
        for other in self.class_files(source):
            t = other.tokens
            for function in other.functions:
                found |= {name for name, first, end in initialisers(other, function[2])
                          if self.holds(other, first, end, (), self.paths)}
            for k in range(len(t) - 1):
                if (t[k].kind == 'name' and t[k].text.endswith('_') and t[k + 1].text == '='
                        and self.holds(other, k + 2, expression_end(t, k + 2), (), self.paths)):
                    found.add(t[k].text)
        return found

    def member_written(self, source, member):
        return any(next(self.through(other, self.written(other, f[2], f[3]), self.flow(other, f, {member}, ()), ()),
                        None)
                   for other in self.class_files(source) for f in other.functions)

    def _learn(self):
        for source in self.sources:
            members = self.program_members(source)
            for function in source.functions:
                name, params, body, end = function
                t = source.tokens
                held = self.flow(source, function, (), self.paths, members)
                if any(t[k].text == 'return' and self.holds(source, k + 1, expression_end(t, k + 1), held, self.paths)
                       for k in range(body + 1, end)):
                    self.paths.add(name)
                for place, param in enumerate(params):
                    if place in self.writes.get(name, ()):
                        continue
                    fed = [member for member, first, stop in initialisers(source, body)
                           if self.holds(source, first, stop, {param}, ())]
                    reached = self.flow(source, function, {param}, ())
                    if (next(self.through(source, self.written(source, body, end), reached, ()), None)
                            or next(self.through(source, self.initialised(source, body), {param}, ()), None)
                            or any(self.member_written(source, member) for member in fed)):
                        self.writes[name] = tuple(sorted(set(self.writes.get(name, ())) | {place}))

    def problems(self):
        out = set()
        for source in self.sources:
            members = self.program_members(source)
            # Outside any function too: a default argument.
            found = list(self.through(source, self.written(source, 0, len(source.tokens)), (), self.paths))
            for function in source.functions:
                _, _, body, end = function
                held = self.flow(source, function, (), self.paths, members)
                found += self.through(source, self.written(source, body, end), held, self.paths)
                found += self.through(source, self.initialised(source, body), (), self.paths)
            for call, token in found:
                out.add('%s:%d: %s writes through %s, a path in the program folder, which is read-only once '
                        'installed; keep what the user changes in the data folder (vx::UserDataPath)'
                        % (source.path, call.line, call.text, token.text))
        return sorted(out)


SELF_TEST = [
    # (what the case shows, source, how many writes into the program folder)
    ('a list saved', 'void f(L& l) { l.SaveToFile(vx::ProgramPath("data\\\\macros.dat")); }', 1),
    ('the user\'s copy', 'void f(L& l) { l.SaveToFile(vx::UserDataPath("data\\\\macros.dat")); }', 0),
    ('a list read', 'void f(L& l) { l.LoadFromFile(vx::ProgramPath("data\\\\tips.txt")); }', 0),
    ('through a variable', 'void f(L& l) {\n  const std::string path = ProgramPath("url.dat");\n'
                           '  l.SaveToFile(path); }', 1),
    ('a variable read only', 'void f(L& l) { std::string path(ProgramPath("url.dat")); l.LoadFromFile(path);\n'
                             '  WriteFileAtomic(Other(), "x"); }', 0),
    ('a folder joined', 'void f() { WriteFileAtomic(JoinPath(ProgramFolder(), "x.ini"), "[a]"); }', 1),
    ('a name made from it', 'void f(const std::string& d) { bool there = FileExists(ProgramPath("a"));\n'
                            '  WriteFileAtomic(JoinPath(d, Name(there)), "x"); }', 0),
    ('a helper of the program', 'std::string DataFile(std::string_view n) { return ProgramPath("data\\\\" + n); }\n'
                                'void f(L& l) { l.SaveToFile(DataFile("a.dat")); }', 1),
    ('a wrapper that writes', 'void Keep(const std::string& where, L& l) { l.SaveToFile(where + ".bak"); }\n'
                              'void f(L& l) { Keep(ProgramPath("a"), l); Keep(UserDataPath("a"), l); }', 1),
    ('a wrapper that writes elsewhere', 'void Keep(const R& r) { WriteFileAtomic(JoinPath(folder_, Name(r)), "x"); }\n'
                                        'void f() { Keep(ProgramPath("a")); }', 0),
    ('a class that writes later', 'H::H(std::string path) : path_(std::move(path)) {}\n'
                                  'void H::Save() { WriteFileAtomic(path_, text_); }\n'
                                  'void f() { H h(ProgramPath("h.dat")); H g(UserDataPath("h.dat")); }', 1),
    ('a member set from the program folder', 'R::R() : ini_(ProgramPath("r.ini")) {}\n'
                                             'void R::Put() { TIniFile ini(ini_); }', 1),
    ('seeded from the program', 'void f(const std::string& u) { copy_file(ProgramPath("a"), u, ec); }', 0),
    ('copied into it', 'void f(const std::string& u) { std::filesystem::copy_file(u, ProgramPath("a")); }', 1),
    ('a stream', 'void f() { std::ofstream out(ProgramPath("log.txt")); }', 1),
    ('fopen to read and to write', 'void f() { fopen(ProgramPath("a").c_str(), "rb");\n'
                                   '  fopen(ProgramPath("b").c_str(), "wb"); }', 1),
    ('removed, and a list\'s item removed', 'void f(Q& q) { std::remove(ProgramPath("a").c_str());\n'
                                            '  q.remove(ProgramPath("b")); }', 1),
    ('a member of a writing class', 'class F { H h_; };\nF::F() : h_(ProgramPath("f.dat")) {}\n'
                                    'H::H(std::string path) : path_(path) {}\n'
                                    'void H::Save() { WriteFileAtomic(path_, "x"); }', 1),
    ('a default argument', 'std::string Where() { return ProgramPath("w.dat"); }\n'
                           'class V { explicit V(std::string path = Where()); };\n'
                           'V::V(std::string path) : path_(path) {}\nvoid V::Save() { TIniFile ini(path_); }', 1),
    ('a member set later', 'void S::Open() { folder_ = JoinPath(ProgramFolder(), "s"); }\n'
                           'void S::Put(const std::string& n) { WriteFileAtomic(JoinPath(folder_, n), "x"); }', 1),
    ('another object\'s member', 'void f(L& l, P& p) { std::string path = ProgramPath("a");\n'
                                 '  l.SaveToFile(p.path); }', 0),
]


main(Scan, SELF_TEST, 'writes')
