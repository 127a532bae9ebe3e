#!/usr/bin/env python3
"""Fails when a message box of the program can show a text that no language
reaches: a string literal with letters in what a message-box call shows.

A text a message box shows is declared once where it is used, as a
TRunTimeText, and passed by calling it; the language files carry it and the
language gives its wording. This scan reads every .cpp and .h of the program
(not tests/, bench/, fuzz/ or build folders) and looks at the text and title
of every call that ends in a message box: MessageDlg, ShowMessage,
MessageBox, the assistant's ShowAssistantText, QMessageBox's static
functions, constructor and setters, and every function of the program that
hands one of its parameters on to one of these. What such a call shows is
followed through concatenations over several lines, the local variables it
names and the functions of the program it calls; a literal with letters
anywhere in that is reported. Literals handed to Qt's own translation
(translate, tr) are the translation's.

usage: message_texts.py <source root>
       message_texts.py --self-test
"""
import os
import re
import sys

TOKEN = re.compile(r'''
    (?P<space>\s+)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<directive>\#[^\n]*(?:\\\n[^\n]*)*)
  | (?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\((?P<body>.*?)\)(?P=delim)")
  | (?P<string>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*")
  | (?P<char>(?:u8|u|U|L)?'(?:[^'\\\n]|\\.)*')
  | (?P<number>\.?\d(?:[eEpP][+-]|[\w.'])*)
  | (?P<name>[A-Za-z_]\w*)
  | (?P<op>::|->|&&|\|\||[-+*/%&|^!=<>]=|\+\+|--|<<|>>|.)
''', re.S | re.X)

ESCAPES = {'n': '\n', 'r': '\r', 't': '\t', 'a': '\a', 'b': '\b', 'f': '\f', 'v': '\v'}

# Calls that show a message box: the places of the arguments it shows.
BOXES = {'MessageDlg': (0,), 'ShowMessage': (0,), 'MessageBox': (0, 1), 'ShowAssistantText': (0,)}
QT_STATIC_BOXES = {'information', 'warning', 'critical', 'question', 'about'}
QT_BOX_SETTERS = {'setText', 'setInformativeText', 'setDetailedText', 'setWindowTitle'}
# Calls whose literal arguments Qt's translation words.
TRANSLATED = {'translate', 'tr', 'QT_TR_NOOP', 'QT_TRANSLATE_NOOP'}
# Calls that put their argument into the text as it is.
PASS_THROUGH = {'string', 'string_view', 'QString', 'QStringLiteral', 'QLatin1String', 'fromUtf8', 'fromLatin1',
                'fromStdString', 'ToQString', 'FromQString'}
# Words before a name that make it an expression, not a declaration.
EXPRESSION_WORDS = {'return', 'else', 'case', 'throw', 'co_return', 'co_yield', 'do', 'new', 'delete'}
# How deep variables and functions are followed.
DEPTH = 4


class Token:
    __slots__ = ('kind', 'text', 'line', 'value')

    def __init__(self, kind, text, line, value=None):
        self.kind, self.text, self.line, self.value = kind, text, line, value


def unescape(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c != '\\' or i + 1 == len(body):
            out.append(c)
            i += 1
            continue
        n = body[i + 1]
        if n == 'x':
            digits = re.match(r'[0-9A-Fa-f]+', body[i + 2:])
            out.append(chr(int(digits.group(), 16)) if digits else 'x')
            i += 2 + (len(digits.group()) if digits else 0)
        elif n in 'uU':
            size = 4 if n == 'u' else 8
            out.append(chr(int(body[i + 2:i + 2 + size], 16)))
            i += 2 + size
        elif n in '01234567':
            digits = re.match(r'[0-7]{1,3}', body[i + 1:]).group()
            out.append(chr(int(digits, 8)))
            i += 1 + len(digits)
        else:
            out.append(ESCAPES.get(n, n))
            i += 2
    return ''.join(out)


def tokenize(text):
    tokens, line = [], 1
    for m in TOKEN.finditer(text):
        kind = m.lastgroup if m.lastgroup not in ('delim', 'body') else 'raw'
        start_line = line
        line += m.group().count('\n')
        if kind in ('space', 'comment', 'directive'):
            continue
        value = None
        if kind == 'raw':
            value = m.group('body')
            kind = 'string'
        elif kind == 'string':
            value = unescape(m.group()[m.group().index('"') + 1:-1])
        tokens.append(Token(kind, m.group(), start_line, value))
    return tokens


def closing(tokens, i):
    """The index of the bracket that closes the one at i."""
    pairs = {'(': ')', '[': ']', '{': '}'}
    stack = []
    for j in range(i, len(tokens)):
        t = tokens[j].text
        if t in pairs and tokens[j].kind == 'op':
            stack.append(pairs[t])
        elif stack and t == stack[-1] and tokens[j].kind == 'op':
            stack.pop()
            if not stack:
                return j
    return len(tokens) - 1


def split_arguments(tokens, open_at):
    """The arguments of the call whose '(' is at open_at, each as (first, end)."""
    end = closing(tokens, open_at)
    args, start, depth = [], open_at + 1, 0
    for j in range(open_at + 1, end):
        t = tokens[j]
        if t.kind == 'op' and t.text in '([{':
            depth += 1
        elif t.kind == 'op' and t.text in ')]}':
            depth -= 1
        elif t.kind == 'op' and t.text == ',' and depth == 0:
            args.append((start, j))
            start = j + 1
    if start < end:
        args.append((start, end))
    return args


def start_of_name(tokens, i):
    """The first token of the qualified name ending at i (a::b::c)."""
    while i >= 2 and tokens[i - 1].text == '::' and tokens[i - 2].kind == 'name':
        i -= 2
    return i


def is_declaration(tokens, i):
    """Whether the name at i, before '(', declares or defines a function or an object."""
    first = start_of_name(tokens, i)
    if first == 0:
        return True
    if first < i and tokens[i - 2].text == tokens[i].text:
        return True  # a constructor: X::X(
    before = tokens[first - 1]
    if before.kind == 'name':
        return before.text not in EXPRESSION_WORDS
    if before.text in ('&', '*'):
        return first >= 2 and (tokens[first - 2].kind == 'name' and tokens[first - 2].text not in EXPRESSION_WORDS
                               or tokens[first - 2].text == '>')
    return before.text in ('~', '>')


class Source:
    def __init__(self, path, text):
        self.path = path
        self.tokens = tokenize(text)
        self.functions = []  # (name, parameter names, body start, body end)
        self._find_functions()

    def _find_functions(self):
        t = self.tokens
        for i in range(len(t) - 1):
            if t[i].kind != 'name' or t[i + 1].text != '(' or not is_declaration(t, i):
                continue
            close = closing(t, i + 1)
            j = close + 1
            # Qualifiers and a member initialiser list between ')' and the body.
            while j < len(t) and t[j].text not in ('{', ';', '=') and not (t[j].text == ':' and t[j - 1].text == ')'):
                if t[j].text in ('(', ')'):
                    break
                j += 1
            if j < len(t) and t[j].text == ':':
                while j < len(t) and t[j].text != '{':
                    j = closing(t, j + 1) + 1 if t[j + 1].text in ('(', '{') else j + 1
            if j >= len(t) or t[j].text != '{':
                continue
            params = []
            for first, end in split_arguments(t, i + 1):
                names = [k for k in range(first, end) if t[k].kind == 'name']
                default = next((k for k in range(first, end) if t[k].text == '='), end)
                names = [k for k in names if k < default]
                if names:
                    params.append(t[names[-1]].text)
            self.functions.append((t[i].text, params, j, closing(t, j)))

    def enclosing(self, i):
        best = None
        for f in self.functions:
            if f[2] < i < f[3] and (best is None or f[2] > best[2]):
                best = f
        return best


def is_exception(name):
    return name == 'Exception' or re.fullmatch(r'E[A-Z]\w*', name) is not None


def path_like(text):
    """A file name, folder or extension, not a sentence."""
    return not any(c.isspace() for c in text) and ('/' in text or '\\' in text or text.startswith('.'))


class Scan:
    def __init__(self, sources):
        self.sources = sources
        self.boxes = dict(BOXES)
        self.returns = {}  # function name -> [(source, first, end)] of its return expressions
        self.passes = {}  # function name -> the places of the parameters it returns as they are
        for source in sources:
            t = source.tokens
            for name, params, body, end in source.functions:
                for k in range(body, end):
                    if t[k].text == 'return' and t[k].kind == 'name':
                        stop = k + 1
                        while stop < end and t[stop].text != ';':
                            stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                        self.returns.setdefault(name, []).append((source, k + 1, stop))
                        if stop == k + 2 and t[k + 1].text in params:
                            self.passes.setdefault(name, set()).add(params.index(t[k + 1].text))
        self._find_wrappers()

    def box_calls(self, source):
        """(index of the call's name, [(first, end) of each shown argument])."""
        t = source.tokens
        qt_boxes = set()
        for i in range(1, len(t) - 2):
            if t[i].text == 'QMessageBox' and t[i + 1].kind == 'name' and t[i + 2].text in ('(', '{', ';'):
                qt_boxes.add(t[i + 1].text)
            if t[i].text == 'QMessageBox' and t[i + 1].text == '*' and t[i + 2].kind == 'name':
                qt_boxes.add(t[i + 2].text)
            if t[i].text == '=' and t[i + 1].text == 'new' and t[i + 2].text == 'QMessageBox' and t[i - 1].kind == 'name':
                qt_boxes.add(t[i - 1].text)
        for i, tok in enumerate(t[:-1]):
            if tok.kind != 'name':
                continue
            nxt = t[i + 1].text
            member = i > 0 and t[i - 1].text in ('.', '->')
            shown = None
            if nxt == '(' and tok.text in self.boxes and (tok.text in BOXES or not member) \
                    and not is_declaration(t, i):
                shown = self.boxes[tok.text]
            elif nxt == '(' and tok.text in QT_STATIC_BOXES and i >= 2 and t[i - 1].text == '::' \
                    and t[i - 2].text == 'QMessageBox':
                shown = (1, 2)
            elif tok.text == 'QMessageBox' and nxt == '(':
                shown = (1, 2)
            elif tok.text in qt_boxes and i >= 1 and t[i - 1].text == 'QMessageBox' and nxt in ('(', '{'):
                shown = (1, 2)
            elif nxt == '(' and tok.text in QT_BOX_SETTERS and member and t[i - 2].text in qt_boxes:
                shown = (0,)
            if shown is None:
                continue
            args = split_arguments(t, i + 1)
            yield i, [args[k] for k in shown if k < len(args)]

    def shown_tokens(self, source, first, end):
        """What of the tokens first..end ends up in the text: its literals, the
        names of variables and parameters it takes whole (or takes the message
        of: e.what()), and the functions it calls, as (kind, index). The
        arguments of a call are that call's business, unless the call only
        converts or wraps its text (std::string, QString, an exception) or
        is a function of the program that returns the argument itself."""
        t = source.tokens
        k = first
        while k < end:
            tok = t[k]
            called = k + 1 < end and t[k + 1].text == '('
            member = k > 0 and t[k - 1].text in ('.', '->')
            if tok.kind == 'string':
                yield 'literal', k
            elif tok.kind == 'name' and called:
                if tok.text in PASS_THROUGH or is_exception(tok.text):
                    k += 2
                    continue
                if not member and tok.text not in TRANSLATED:
                    yield 'call', k
                    args = split_arguments(t, k + 1)
                    for place in self.passes.get(tok.text, ()):
                        if place < len(args):
                            yield from self.shown_tokens(source, *args[place])
                k = closing(t, k + 1) + 1
                continue
            elif tok.kind == 'name' and not member and (k == 0 or t[k - 1].text != '::'):
                access = t[k + 1].text if k + 1 < end else ''
                message = access in ('.', '->') and k + 2 < end and t[k + 2].text in ('what', 'Message')
                if access not in ('.', '->', '::') or message:
                    yield 'name', k
            k += 1

    def _find_wrappers(self):
        """Functions that hand a parameter on to a message box, until no more are found."""
        while True:
            found = {}
            for source in self.sources:
                for i, args in self.box_calls(source):
                    function = source.enclosing(i)
                    if not function or function[0] in self.boxes:
                        continue
                    name, params, _, _ = function
                    for first, end in args:
                        used = {source.tokens[k].text for kind, k in self.shown_tokens(source, first, end)
                                if kind == 'name'}
                        for place, param in enumerate(params):
                            if param in used:
                                found.setdefault(name, set()).add(place)
            new = {name: tuple(sorted(places)) for name, places in found.items() if name not in self.boxes}
            if not new:
                return
            self.boxes.update(new)

    def literals(self, source, first, end, before, depth, seen):
        """The literals with letters that the tokens first..end can put into the text."""
        t = source.tokens
        found = []
        for kind, k in self.shown_tokens(source, first, end):
            tok = t[k]
            if kind == 'literal':
                if any(c.isalpha() for c in tok.value) and not path_like(tok.value):
                    found.append((source, tok))
            elif depth >= DEPTH:
                continue
            elif kind == 'call' and tok.text in self.returns and tok.text not in self.boxes:
                key = ('function', tok.text)
                if key not in seen:
                    for rsource, rfirst, rend in self.returns[tok.text]:
                        found += self.literals(rsource, rfirst, rend, rend, depth + 1, seen | {key})
            elif kind == 'name':
                found += self.variable(source, tok.text, before, depth, seen)
        return found

    def variable(self, source, name, before, depth, seen):
        """The literals of the local variable's initialiser and of what is assigned or appended to it."""
        function = source.enclosing(before)
        key = ('variable', source.path, name, function[2] if function else None)
        if not function or key in seen:
            return []
        t = source.tokens
        found = []
        for k in range(function[2], before):
            if t[k].text != name or t[k].kind != 'name' or t[k - 1].text in ('.', '->', '::'):
                continue
            nxt = t[k + 1].text
            declared = t[k - 1].kind == 'name' or t[k - 1].text in ('&', '*', '>')
            if nxt in ('=', '+=') or (declared and nxt in ('{', '(')):
                first = k + 2 if nxt in ('=', '+=') else k + 1
                stop = first
                while stop < before and t[stop].text != ';':
                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                found += self.literals(source, first, stop, before, depth + 1, seen | {key})
        return found

    def problems(self):
        out = []
        for source in self.sources:
            for i, args in self.box_calls(source):
                call = source.tokens[i]
                for first, end in args:
                    for where, literal in self.literals(source, first, end, i, 0, frozenset()):
                        out.append('%s:%d: the message box of %s (line %d of %s) shows the bare text %s; '
                                   'declare it as a TRunTimeText and give it its Dutch'
                                   % (source.path, call.line, call.text, literal.line, where.path, literal.text))
        return sorted(set(out))


def program_sources(root):
    skip = {'tests', 'bench', 'fuzz', 'scripts', 'cmake', 'data', 'languages'}
    for folder, dirs, files in os.walk(root):
        if folder == root:
            dirs[:] = [d for d in dirs if d not in skip]
        dirs[:] = [d for d in dirs if not d.startswith(('.', 'build'))]
        for name in sorted(files):
            if name.endswith(('.cpp', '.h')):
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    yield Source(os.path.relpath(path, root), f.read())


SELF_TEST = [
    # (what the case shows, source, how many bare texts)
    ('a literal', 'void f() { ShowMessage("Saved."); }', 1),
    ('no letters', 'void f(int n) { ShowMessage(std::to_string(n) + "\\r\\n: "); }', 0),
    ('a declared text', 'const TRunTimeText Saved{"Saved."};\nvoid f() { ShowMessage(Saved()); }', 0),
    ('a call over lines', 'void f(std::string p) {\n  MessageDlg(p +\n    " could not be read",\n  mtError, mbOK); }', 1),
    ('a variable', 'void f(std::string p) {\n  const std::string m = "Lost " + p;\n  MessageDlg(m, mtError, mbOK); }', 1),
    ('a variable appended to', 'void f() { std::string m = Said(); m += "more"; ShowMessage(m); }', 1),
    ('a helper function', 'std::string Why(int n) { return "Line " + std::to_string(n); }\n'
                          'void f() { ShowMessage(Why(3)); }', 1),
    ('a wrapper of ours', 'void Tell(QWidget* w, const std::string& text) { MessageDlg(text, mtError, mbOK); }\n'
                          'void f() { Tell(nullptr, "Oops"); }', 1),
    ('the title of MessageBox', 'void f() { MessageBox(Done(), "Information", MB_OK); }', 1),
    ('a QMessageBox', 'void f() { QMessageBox box(QMessageBox::Question, "Confirm", Ask(), QMessageBox::Yes); }', 1),
    ('a QMessageBox set later', 'void f() { QMessageBox box; box.setText("Really?"); }', 1),
    ('a static QMessageBox', 'void f() { QMessageBox::warning(this, Title(), "Careful"); }', 1),
    ('Qt\'s translation', 'void f() { MessageDlg(QCoreApplication::translate("MessageDlg", "Error"), mtError, 0); }', 0),
    ('a comment and a raw string', 'void f() { ShowMessage(Text() /* "not shown" */ + R"(shown)"); }', 1),
    ('a choice of texts', 'void f(bool x) { ShowMessage(x ? std::string("Pick one") : Other()); }', 1),
    ('a constructor', 'TForm::TForm(QWidget* p) : QWidget(p), n_(1) { auto m = "Hi " + Name(); ShowMessage(m); }', 1),
    ('a QMessageBox made with new', 'void f() { auto* box = new QMessageBox(this); box->setInformativeText("More"); }', 1),
    ('a wrapper of a wrapper', 'void Tell(const std::string& t) { ShowMessage(t); }\n'
                               'void Warn(int n, const std::string& t) { Tell(t); }\nvoid f() { Warn(1, "Hot"); }', 1),
    ('an exception shown', 'void Show(const std::exception& e) { MessageDlg(e.what(), mtError, mbOK); }\n'
                           'void f() { Show(Exception("Broke")); }', 1),
    ('a status bar is no box', 'void showMessage(const std::string& c, const std::string& t) { QMessageBox b(0, c, t); }\n'
                               'void f() { StatusBar1->showMessage("Ready"); }', 0),
    ('values of a declared text', 'void f() { ShowMessage(NotFound({"index.htm", Name("a b")})); }', 0),
    ('a file name', 'void f() { ShowMessage(Missing() + "data/index.htm"); }', 0),
    ('a text handed through', 'std::string Same(const std::string& s) { return s; }\n'
                              'void f() { ShowMessage(Same("Later") + Path("a b")); }', 1),
    ('a definition', 'int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);', 0),
    ('another object\'s member', 'void f(E& e) { ShowMessage(e.Message()); }\nstd::string Message() { return "x y"; }', 0),
]


def self_test():
    failures = 0
    for what, text, expected in SELF_TEST:
        found = Scan([Source('case.cpp', text)]).problems()
        if len(found) != expected:
            failures += 1
            print('self-test "%s": %d bare texts found, %d expected' % (what, len(found), expected))
            for line in found:
                print('  ' + line)
    return failures


def main():
    if sys.argv[1:] == ['--self-test']:
        sys.exit(1 if self_test() else 0)
    problems = Scan(list(program_sources(sys.argv[1]))).problems()
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


main()
