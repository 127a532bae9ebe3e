#!/usr/bin/env python3
"""Fails when a message box of the program, or a window the program writes
into while it runs, can show a text that no language reaches: a string
literal with letters in what a message-box call shows.

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

A text a window shows is written into it while the program runs just as
well: a label's or a button's text, a status bar's message, a window's title
(setText, showMessage, setWindowTitle and the other setters of
RUN_TIME_SETTERS, on this window or on a control that holds no value: an
edit or a memo holds the user's text or code), and the column headings a
list model's headerData gives. Such a call is followed as a message box's
is, and so is every function of the program that hands a parameter on to
one (its class's, or a free function). What a window is built with is its
language component's: the setters a constructor calls, and those of the
functions only constructors call (outside the lambdas they hand on to run
later), are left alone. A word is two letters or more ("M" and "89a" are
signs), and the name of one of the program's products is the same in every
language.

An error reaches a box too. Its message as raised (e.what(), e.Message()) is
English and is reported: ErrorText(e) shows it in the chosen language. Either
way the error is followed to where it is raised: the throws of its try block
and of the functions of the program called there, a few calls deep, and a
literal in what they throw is reported, in the message itself or in a reason
it is put together from (a variable, and the helper that built it). An error
raised with a message of ours (TMessage(Wording, {values})) shows its values:
a literal among them is reported, and a reason it wraps (e.Said(),
SaidBy(e)) is followed to where that error is raised in turn. So is a failure
an object keeps and hands out (run.Error() returning error_): what the files
of its class assign to the member is followed in the same way.

The errors of the database and image components reach a window whatever
catches them: the ODBC error dialog takes over the display of ESQLerror, the
database windows show what the rest raise, and the GIF animator and the image
optimiser show why a picture cannot be read or written. Every throw in them is
followed as above (an EAbort, which no window shows, aside), through a text
kept in a constant of its own and one formatted into a buffer. Their error
classes are the program's: named E..., or declared as errors
(VX_DECLARE_EXCEPTION(GIFException, ...)). A constant's name in a text
(SQL_ERROR) is the same in every language.

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
# What a window shows that the program writes into it while it runs: a
# label's or a button's text, a status bar's message, a window's title (the
# place of the text). What a window's constructor sets, its language
# component translates with the rest of the window.
RUN_TIME_SETTERS = {'setText': (0, 1), 'showMessage': (0,), 'setWindowTitle': (0,), 'setToolTip': (0,),
                    'setStatusTip': (0,), 'setTitle': (0,), 'setPlaceholderText': (0,), 'setTabText': (1,),
                    'setItemText': (1,), 'setHeaderLabel': (0,), 'setHeaderLabels': (0,),
                    'setHorizontalHeaderLabels': (0,), 'setLabelText': (0,), 'addItem': (0,), 'addItems': (0,)}
# An edit or a memo holds a value, the user's or the code a generator wrote,
# not the program's words.
HOLDS_VALUE = re.compile(r'\w*(?:Edit|Memo)\w*')
# A model's header texts: what these functions return, a view shows.
SHOWN_RETURNS = {'headerData'}
# An error's message as raised; our functions that word an error in the chosen
# language or hand on what it says; and what an error says, to be worded later.
ERROR_MESSAGE = {'what', 'Message'}
ERROR_WORDING = {'ErrorText', 'SaidBy'}
ERROR_SAID = {'Said'}
# A message of ours: a wording and the values of its places.
MESSAGE = 'TMessage'
# The declarations of texts a language words.
DECLARED = {'TRunTimeText', 'TWording'}
# Calls whose literal arguments Qt's translation words.
TRANSLATED = {'translate', 'tr', 'QT_TR_NOOP', 'QT_TRANSLATE_NOOP'}
# Calls that put their argument into the text as it is.
PASS_THROUGH = {'string', 'string_view', 'QString', 'QVariant', 'QStringLiteral', 'QLatin1String', 'fromUtf8',
                'fromLatin1', 'fromStdString', 'ToQString', 'FromQString', 'move'}
# Calls that write a text into the buffer that is their first argument.
WRITERS = {'snprintf', 'sprintf', 'strcpy', 'strncpy', 'strcat', 'strncat'}
# Words before a name that make it an expression, not a declaration.
EXPRESSION_WORDS = {'return', 'else', 'case', 'throw', 'co_return', 'co_yield', 'do', 'new', 'delete'}
# The components whose every error a window shows, and the error no window shows.
SHOWN_RAISES = ('database/', 'images/')
SILENT = {'EAbort'}
# How deep variables and functions are followed, and calls towards where an error is raised.
DEPTH = 4
RAISE_DEPTH = 3


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
        self.stem = os.path.splitext(path)[0]
        self.functions = []  # (name, parameter names, body start, body end)
        self.owners = {}  # body start -> the class a member function belongs to
        self.hidden = set()  # body starts of the functions of an anonymous namespace
        self._class_bodies = None
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
            first = start_of_name(t, i)
            self.owners[j] = t[i - 2].text if first < i else self.around(i, ('class', 'struct'))
            if self.owners[j] is None and self.around(i, ('namespace',)) == '':
                self.hidden.add(j)

    def settable_member(self, k):
        """Whether the name at k declares a data member that is no constant:
        what it starts with, whoever uses the class may set."""
        t = self.tokens
        start = k - 1
        while start > 0 and t[start].text not in (';', '{', '}', ':'):
            start -= 1
        if any(t[j].text in ('const', 'constexpr') for j in range(start + 1, k)):
            return False
        return any(first < k < end for first, end in self.class_bodies())

    def class_bodies(self):
        """(open, close) of the body of each class and struct."""
        if self._class_bodies is None:
            t = self.tokens
            self._class_bodies = []
            for k in range(len(t) - 1):
                if t[k].text in ('class', 'struct') and t[k].kind == 'name':
                    j = k + 1
                    while j < len(t) and t[j].text not in ('{', ';', '(', ')', '>'):
                        j += 1
                    if j < len(t) and t[j].text == '{':
                        self._class_bodies.append((j, closing(t, j)))
        return self._class_bodies

    def around(self, i, kinds):
        """The name of the innermost class (or namespace, "" for an anonymous
        one) of the kinds whose body holds the token at i, or None."""
        t = self.tokens
        for k in range(i - 1, 0, -1):
            if t[k].text == '{' and t[k].kind == 'op' and closing(t, k) > i:
                head = k - 1
                while head > 0 and t[head].text not in (';', '{', '}', 'class', 'struct', 'namespace'):
                    head -= 1
                if t[head].text in kinds:
                    return t[head + 1].text if t[head + 1].kind == 'name' else ''
        return None

    def type_before(self, name, at):
        """The type an object named name is declared with before the token at, or None."""
        t = self.tokens
        for k in range(min(at, len(t) - 1) - 1, 0, -1):
            if t[k].text != name or t[k].kind != 'name' or t[k + 1].text not in (';', '=', '(', '{', ',', ')', '['):
                continue
            j = k - 1
            while j > 0 and t[j].text in ('&', '*', 'const'):
                j -= 1
            if t[j].text == '>':
                j -= 1
            if t[j].kind == 'name' and t[j].text not in EXPRESSION_WORDS:
                return t[j].text
        return None

    def opening(self, i):
        """The index of the bracket that opens the one at i."""
        pairs = {')': '(', ']': '[', '}': '{'}
        stack = []
        for j in range(i, -1, -1):
            t = self.tokens[j]
            if t.kind == 'op' and t.text in pairs:
                stack.append(pairs[t.text])
            elif stack and t.kind == 'op' and t.text == stack[-1]:
                stack.pop()
                if not stack:
                    return j
        return 0

    def try_block(self, error, at):
        """(first, end) of the try block whose catch clause names the error
        and holds the token at, or None."""
        t = self.tokens
        for c in range(at - 1, 0, -1):
            if t[c].text != 'catch' or t[c].kind != 'name' or t[c + 1].text != '(':
                continue
            close = closing(t, c + 1)
            names = [k for k in range(c + 2, close) if t[k].kind == 'name']
            if not names or t[names[-1]].text != error or t[close + 1].text != '{' or closing(t, close + 1) < at:
                continue
            # Back over the clauses before this one to the try block.
            k = c - 1
            while k > 0 and t[k].text == '}':
                opened = self.opening(k)
                if t[opened - 1].text == 'try':
                    return opened + 1, k
                if t[opened - 1].text != ')':
                    return None
                k = self.opening(opened - 1) - 2
                if t[k + 1].text != 'catch':
                    return None
            return None
        return None

    def enclosing(self, i):
        best = None
        for f in self.functions:
            if f[2] < i < f[3] and (best is None or f[2] > best[2]):
                best = f
        return best


def path_like(text):
    """A file name, folder or extension, not a sentence."""
    return not any(c.isspace() for c in text) and ('/' in text or '\\' in text or text.startswith('.')
                                                   or re.fullmatch(r'[\w-]+\.[A-Za-z]{2,4}', text) is not None)


# A conversion of a format ("%.2x", "%lld"), which holds letters but no words.
CONVERSION = re.compile(r'%[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?[hlLqjzt]*[diouxXeEfgGcsp]')


def has_letters(text):
    """Whether the text holds a word: two letters or more in a row (a single
    letter is a sign, "M" for memory, "89a" a version)."""
    return re.search(r'[^\W\d_]{2}', CONVERSION.sub('', text)) is not None


def library_call(tokens, k):
    """Whether the call at k is qualified by a class of Qt or the standard
    library (QString::number), not a function of the program of that name."""
    return k >= 2 and tokens[k - 1].text == '::' and re.fullmatch(r'std|Q[A-Z]\w*', tokens[k - 2].text) is not None


def in_lambda(source, body, i):
    """Whether the token at i, in the function whose body opens at body, is
    in a lambda's body there."""
    t = source.tokens
    for k in range(body + 1, i):
        if t[k].text == '{' and t[k].kind == 'op' and closing(t, k) > i:
            head = source.opening(k - 1) - 1 if t[k - 1].text == ')' else k - 1
            if t[head].text == ']' or t[k - 1].text == 'mutable':
                return True
    return False


def typed(tokens, k):
    """Whether a type stands before the name at k, as in a declaration."""
    before = tokens[k - 1]
    return before.kind == 'name' and before.text not in EXPRESSION_WORDS or before.text in ('*', '&', '>')


def product_name(text):
    """The name of one of the program's products ("Vellumix Gif Animator
    1.0"): the program's name and capitalised words or a version after it."""
    return re.fullmatch(r'Vellumix(?: (?:[A-Z][\w-]*|\d[\d.]*))*', text) is not None


def symbol_like(text):
    """A constant's name as the code knows it (SQL_ERROR, ": SQL_INVALID_HANDLE")."""
    return re.fullmatch(r'[^A-Za-z]*[A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+', text) is not None


class Scan:
    def __init__(self, sources):
        self.sources = sources
        self.boxes = dict(BOXES)
        self.setting = {}  # name -> the classes (None: free) of the functions that hand a parameter on to a setter
        self.returns = {}  # function name -> [(source, first, end)] of its return expressions
        self.passes = {}  # function name -> the places of the parameters it returns as they are, or in a sum
        self.definitions = {}  # function name -> [(source, body start, body end, class or None)]
        self.getters = {}  # function name -> [(source, member)] of the member it returns
        self.raising = {}  # (function, its class, depth, calling file) -> what its throws can put into an error
        # The declared texts, whose values go into the text as they are.
        self.declared = {t.tokens[k + 1].text for t in sources for k in range(len(t.tokens) - 1)
                         if t.tokens[k].text in DECLARED and t.tokens[k + 1].kind == 'name'}
        self.exceptions = self._find_exceptions()
        self.constants = {}  # name -> [(source, first, end)] of the initialisers of objects outside functions
        for source in sources:
            self._find_constants(source)
        for source in sources:
            t = source.tokens
            for name, params, body, end in source.functions:
                self.definitions.setdefault(name, []).append((source, body, end, source.owners[body]))
                for k in range(body, end):
                    if t[k].text == 'return' and t[k].kind == 'name':
                        stop = k + 1
                        while stop < end and t[stop].text != ';':
                            stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                        self.returns.setdefault(name, []).append((source, k + 1, stop))
                        level = 0
                        for j in range(k + 1, stop):
                            level += t[j].text in ('(', '[', '{') and t[j].kind == 'op'
                            level -= t[j].text in (')', ']', '}') and t[j].kind == 'op'
                            whole = t[j - 1].text not in ('.', '->', '::') and t[j + 1].text not in ('(', '.', '->')
                            if level == 0 and t[j].text in params and t[j].kind == 'name' and whole:
                                self.passes.setdefault(name, set()).add(params.index(t[j].text))
                        if stop == k + 2 and t[k + 1].kind == 'name' and t[k + 1].text.endswith('_'):
                            self.getters.setdefault(name, []).append((source, t[k + 1].text))
        self._find_builders()
        self._find_wrappers()

    def _find_exceptions(self):
        """The error classes declared by the macro or derived from another error class."""
        found, bases = set(), []
        for source in self.sources:
            t = source.tokens
            for k in range(len(t) - 2):
                if t[k].text == 'VX_DECLARE_EXCEPTION' and t[k + 1].text == '(' and t[k + 2].kind == 'name':
                    found.add(t[k + 2].text)
                if t[k].text in ('class', 'struct') and k + 4 < len(t) and t[k + 2].text == ':':
                    base = k + 4 if t[k + 3].text in ('public', 'protected', 'private') else k + 3
                    bases.append((t[k + 1].text, t[base].text))
        while True:
            more = {name for name, base in bases if name not in found and self.is_exception(base, found)}
            if not more:
                return found
            found |= more

    def is_exception(self, name, declared=None):
        declared = self.exceptions if declared is None else declared
        return name == 'Exception' or re.fullmatch(r'E[A-Z]\w*', name) is not None or name in declared

    def _find_constants(self, source):
        """Objects initialised outside every function ("const char* SBad = ..."), not the declared texts."""
        t = source.tokens
        depth = 0
        for k in range(1, len(t) - 1):
            if t[k].text in ('(', ')') and t[k].kind == 'op':
                depth += 1 if t[k].text == '(' else -1
                continue
            if depth or t[k].kind != 'name' or t[k + 1].text not in ('=', '{') or not typed(t, k) \
                    or t[k - 1].text in DECLARED or source.enclosing(k) or source.settable_member(k):
                continue
            first = k + 2 if t[k + 1].text == '=' else k + 1
            stop = first
            while stop < len(t) and t[stop].text not in (';', ','):
                stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
            self.constants.setdefault(t[k].text, []).append((source, first, stop))

    def box_calls(self, source):
        """(index of the call's name, [(first, end) of each shown argument],
        whether it sets a window's text while the program runs rather than
        showing a message box)."""
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
            shown, setting = None, False
            if nxt == '(' and tok.text in self.boxes and (tok.text in BOXES or not member) \
                    and not is_declaration(t, i):
                shown, setting = self.boxes[tok.text], tok.text in self.setting
                if setting and (self.owner_called(source, i) not in self.setting[tok.text] or self.building(source, i)):
                    continue
            elif nxt == '(' and tok.text in QT_STATIC_BOXES and i >= 2 and t[i - 1].text == '::' \
                    and t[i - 2].text == 'QMessageBox':
                shown = (1, 2)
            elif tok.text == 'QMessageBox' and nxt == '(':
                shown = (1, 2)
            elif tok.text in qt_boxes and i >= 1 and t[i - 1].text == 'QMessageBox' and nxt in ('(', '{'):
                shown = (1, 2)
            elif nxt == '(' and tok.text in QT_BOX_SETTERS and member and t[i - 2].text in qt_boxes:
                shown = (0,)
            elif nxt == '(' and tok.text in RUN_TIME_SETTERS and self.sets_at_run_time(source, i):
                shown, setting = RUN_TIME_SETTERS[tok.text], True
            if shown is None:
                continue
            args = split_arguments(t, i + 1)
            yield i, [args[k] for k in shown if k < len(args)], setting

    def sets_at_run_time(self, source, i):
        """Whether the setter called at i writes a window's text while the
        program runs: on a window of its own or on a control (a name) that
        holds no value, outside the building of a window."""
        t = source.tokens
        if t[i - 1].text in ('.', '->'):
            if t[i - 2].kind != 'name' or HOLDS_VALUE.fullmatch(self.declared_type(source, i - 2) or ''):
                return False
        elif t[i - 1].text == '::' or is_declaration(t, i):
            return False
        return not self.building(source, i)

    def building(self, source, i):
        """Whether the token at i builds a window: it is in a constructor or a
        function only they call, outside the functions (lambdas) handed on to
        run later."""
        function = source.enclosing(i)
        return function is not None and (source.path, function[2]) in self.builders \
            and not in_lambda(source, function[2], i)

    def _find_builders(self):
        """The constructors, and the functions called only where a window is
        built (or by a function of their name, as TForm1::BuildMenus calls
        menu::BuildMenus), until no more are found."""
        builders = {(source.path, body) for source in self.sources for name, _, body, _ in source.functions
                    if source.owners.get(body) == name}
        calls = {}
        for source in self.sources:
            t = source.tokens
            for k in range(len(t) - 1):
                if t[k].kind == 'name' and t[k + 1].text == '(' and t[k].text in self.definitions \
                        and not is_declaration(t, k):
                    calls.setdefault(t[k].text, []).append((source, k))
        self.builders = builders
        while True:
            more = {(dsource.path, body) for name, sites in calls.items()
                    if all(self.building(source, k) or (source.enclosing(k) or (None,))[0] == name
                           for source, k in sites)
                    for dsource, body, _, _ in self.definitions[name]} - self.builders
            if not more:
                return
            self.builders |= more

    def shown_tokens(self, source, first, end):
        """What of the tokens first..end ends up in the text: its literals, the
        names of variables and parameters it takes whole, the errors whose
        message it shows as raised (e.what()) or in the chosen language
        (ErrorText(e)), the failures of other objects it shows (run.Error()
        returning error_) and the functions it calls, as (kind, index). The
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
                if tok.text in PASS_THROUGH or self.is_exception(tok.text):
                    k += 2
                    continue
                if not member and tok.text in ERROR_WORDING:
                    error = next((j for j in range(k + 2, closing(t, k + 1)) if t[j].kind == 'name'), None)
                    if error is not None:
                        yield 'worded', error
                elif not member and tok.text == MESSAGE:
                    for value in split_arguments(t, k + 1):
                        if not (value[1] == value[0] + 1 and t[value[0]].text in self.declared):
                            yield from self.shown_tokens(source, *value)
                elif member and tok.text in self.getters:
                    yield 'stored', k
                elif not member and tok.text in self.declared:
                    for value in split_arguments(t, k + 1):
                        yield from self.shown_tokens(source, *value)
                elif not member and tok.text not in TRANSLATED and not library_call(t, k):
                    yield 'call', k
                    args = split_arguments(t, k + 1)
                    for place in self.passes.get(tok.text, ()):
                        if place < len(args):
                            yield from self.shown_tokens(source, *args[place])
                k = closing(t, k + 1) + 1
                continue
            elif tok.kind == 'name' and not member and (k == 0 or t[k - 1].text != '::'):
                access = t[k + 1].text if k + 1 < end else ''
                if access in ('.', '->') and k + 2 < end and t[k + 2].text in ERROR_MESSAGE:
                    yield 'error', k
                elif access in ('.', '->') and k + 2 < end and t[k + 2].text in ERROR_SAID:
                    yield 'worded', k
                elif access not in ('.', '->', '::'):
                    yield 'name', k
            k += 1

    def _find_wrappers(self):
        """Functions that hand a parameter on to a message box, until no more are found."""
        while True:
            found = {}
            setting = {}
            for source in self.sources:
                for i, args, sets in self.box_calls(source):
                    function = source.enclosing(i)
                    if not function or function[0] in self.boxes:
                        continue
                    name, params, body, _ = function
                    t = source.tokens
                    for first, end in args:
                        used = {t[k].text for kind, k in self.shown_tokens(source, first, end)
                                if kind in ('name', 'error', 'worded')}
                        # And what the local variables it shows are made of.
                        for k in range(body, i):
                            if t[k].text in used and t[k + 1].text == '=' and t[k - 1].kind == 'name':
                                stop = k + 2
                                while stop < i and t[stop].text != ';':
                                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                                used |= {t[j].text for kind, j in self.shown_tokens(source, k + 2, stop)
                                         if kind in ('name', 'error', 'worded')}
                        for place, param in enumerate(params):
                            if param in used:
                                found.setdefault(name, set()).add(place)
                                if sets:
                                    setting.setdefault(name, set()).add(source.owners[body])
            new = {name: tuple(sorted(places)) for name, places in found.items() if name not in self.boxes}
            if not new:
                return
            self.boxes.update(new)
            for name in new:
                if name in setting:
                    self.setting[name] = setting[name]

    def literals(self, source, first, end, before, depth, seen):
        """What of the tokens first..end can put English into the text: the
        literals with letters, and the errors shown as raised, as (source,
        token, what is shown)."""
        t = source.tokens
        found = []
        for kind, k in self.shown_tokens(source, first, end):
            tok = t[k]
            if kind == 'literal':
                if has_letters(tok.value) and not path_like(tok.value) and not symbol_like(tok.value) \
                        and not product_name(tok.value):
                    found.append((source, tok, 'the bare text ' + tok.text))
            elif kind == 'error':
                found.append((source, tok, 'the English message of the error %s as raised, where ErrorText(%s) '
                                           'words it' % (tok.text, tok.text)))
            if kind in ('error', 'worded'):
                block = source.try_block(tok.text, k)
                if block:
                    found += self.raised(source, block[0], block[1], 0, seen)
            elif depth >= DEPTH:
                continue
            elif kind == 'stored':
                for gsource, member in self.getters[tok.text]:
                    found += self.stored(gsource, member, depth, seen)
            elif kind == 'call' and tok.text in self.returns and tok.text not in self.boxes:
                key = ('function', tok.text)
                if key not in seen:
                    for rsource, rfirst, rend in self.returns[tok.text]:
                        found += self.literals(rsource, rfirst, rend, rend, depth + 1, seen | {key})
            elif kind == 'name':
                found += self.variable(source, tok.text, before, depth, seen)
                found += self.constant(source, tok.text, before, depth, seen)
        return found

    def raised(self, source, first, end, depth, seen):
        """What the throws among the tokens first..end, and those of the
        functions of the program called there, put into their errors."""
        t = source.tokens
        found = []
        k = first
        while k < end:
            tok = t[k]
            if tok.kind == 'name' and tok.text == 'throw':
                stop = k + 1
                while stop < end and t[stop].text != ';':
                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                # Its variables and the helpers that built them, not deeper.
                found += self.literals(source, k + 1, stop, stop, DEPTH - 2, seen)
                k = stop
                continue
            called = k + 1 < end and t[k + 1].text == '(' and tok.kind == 'name'
            if called and depth < RAISE_DEPTH and tok.text in self.definitions and not is_declaration(t, k):
                owner = self.owner_called(source, k)
                key = (tok.text, owner, depth + 1, source.path)
                if key not in self.raising:
                    self.raising[key] = []
                    self.raising[key] = [shown for fsource, body, bend, of in self.definitions[tok.text]
                                         if of == owner and (fsource is source or body not in fsource.hidden)
                                         for shown in self.raised(fsource, body, bend, depth + 1, seen)]
                found += self.raising[key]
            k += 1
        return found

    def owner_called(self, source, k):
        """The class whose member function the call at k calls (None: a free
        function), as far as the program's declarations tell: the qualifier,
        the declared type of the object, or the class of the calling member."""
        t = source.tokens
        name = t[k].text
        if t[k - 1].text == '::':
            qualifier = t[k - 2].text
            return qualifier if any(of == qualifier for _, _, _, of in self.definitions[name]) else None
        if t[k - 1].text in ('.', '->'):
            return self.declared_type(source, k - 2) or '?'
        function = source.enclosing(k)
        caller = source.owners.get(function[2]) if function else None
        return caller if any(of == caller for _, _, _, of in self.definitions[name]) else None

    def declared_type(self, source, k):
        """The type the object named at k is declared with, in its file or
        another of the same name (its header), or None."""
        if source.tokens[k].kind != 'name':
            return None
        for other in [source] + [o for o in self.sources if o.stem == source.stem and o is not source]:
            declared = other.type_before(source.tokens[k].text, k if other is source else len(other.tokens))
            if declared:
                return declared
        return None

    def stored(self, source, member, depth, seen):
        """What the files of the class assign to the member that keeps a failure."""
        key = ('member', source.stem, member)
        if key in seen:
            return []
        found = []
        for other in self.sources:
            if other.stem != source.stem:
                continue
            t = other.tokens
            for k in range(1, len(t) - 1):
                if t[k].text != member or t[k - 1].text in ('.', '->', '::') or t[k + 1].text not in ('=', '+='):
                    continue
                stop = k + 2
                while stop < len(t) and t[stop].text != ';':
                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                found += self.literals(other, k + 2, stop, stop, depth + 1, seen | {key})
        return found

    def variable(self, source, name, before, depth, seen):
        """The literals of the local variable's initialiser, of what is assigned
        or appended to it and of what a formatting call writes into it."""
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
            if t[k - 1].text == '(' and t[k - 2].text in WRITERS and nxt == ',':
                for first, end in split_arguments(t, k - 1)[1:]:
                    found += self.literals(source, first, end, before, depth + 1, seen | {key})
                continue
            declared = t[k - 1].kind == 'name' or t[k - 1].text in ('&', '*', '>')
            if declared and nxt == '[':
                # An array: what its initialiser lists.
                nxt = t[closing(t, k + 1) + 1].text
                first = closing(t, k + 1) + (2 if nxt == '=' else 1)
            else:
                first = k + 2 if nxt in ('=', '+=') else k + 1
            if nxt in ('=', '+=') or (declared and nxt in ('{', '(')):
                stop = first
                while stop < before and t[stop].text != ';':
                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                found += self.literals(source, first, stop, before, depth + 1, seen | {key})
        return found

    def constant(self, source, name, before, depth, seen):
        """The literals of the initialiser of an object outside the functions,
        unless the name is a parameter or a local of the function at before."""
        function = source.enclosing(before)
        key = ('constant', name)
        if name not in self.constants or key in seen:
            return []
        if function:
            t = source.tokens
            if name in function[1]:
                return []
            for k in range(function[2], before):
                if t[k].text == name and typed(t, k) and t[k + 1].text in (';', '=', '{', '(', '['):
                    return []
        found = []
        for csource, first, end in self.constants[name]:
            found += self.literals(csource, first, end, end, depth + 1, seen | {key})
        return found

    def problems(self):
        out = []
        for source in self.sources:
            for i, args, sets in self.box_calls(source):
                call = source.tokens[i]
                what = 'the text %s writes into a window while the program runs' if sets else 'the message box of %s'
                for first, end in args:
                    for where, token, shown in self.literals(source, first, end, i, 0, frozenset()):
                        out.append('%s:%d: %s (line %d of %s) shows %s; declare each text as '
                                   'a TRunTimeText, or a TWording where it is raised, and give it its Dutch'
                                   % (source.path, call.line, what % call.text, token.line, where.path, shown))
            for name, _, body, end in source.functions:
                if name not in SHOWN_RETURNS:
                    continue
                for rsource, first, stop in self.returns[name]:
                    if rsource is not source or not body < first < end:
                        continue
                    for where, token, shown in self.literals(source, first, stop, stop, 0, frozenset()):
                        out.append('%s:%d: the headings %s gives a view (line %d of %s) show %s; declare each '
                                   'text as a TRunTimeText and give it its Dutch'
                                   % (source.path, source.tokens[body].line, name, token.line, where.path, shown))
        for source in self.sources:
            if not source.path.replace(os.sep, '/').startswith(SHOWN_RAISES):
                continue
            t = source.tokens
            for k in range(len(t) - 1):
                if t[k].text != 'throw' or t[k].kind != 'name' or t[k + 1].text in SILENT:
                    continue
                stop = k + 1
                while stop < len(t) and t[stop].text != ';':
                    stop = closing(t, stop) + 1 if t[stop].text in ('(', '[', '{') else stop + 1
                for where, token, shown in self.literals(source, k + 1, stop, stop, 0, frozenset()):
                    out.append('%s:%d: the error raised here reaches a window whatever catches it, and it shows %s '
                               '(line %d of %s); declare each text as a TWording where it is raised, and give it '
                               'its Dutch' % (source.path, t[k].line, shown, token.line, where.path))
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
    ('a wrapper through a variable',
     'void Tell(const std::string& why) { const std::string m = "Why: " + why; ShowMessage(m); }\n'
     'void f() { Tell("Oops"); }', 2),
    ('a wrapper of a wrapper', 'void Tell(const std::string& t) { ShowMessage(t); }\n'
                               'void Warn(int n, const std::string& t) { Tell(t); }\nvoid f() { Warn(1, "Hot"); }', 1),
    ('an exception shown', 'void Show(const std::exception& e) { MessageDlg(ErrorText(e), mtError, mbOK); }\n'
                           'void f() { Show(Exception("Broke")); }', 1),
    ('another object\'s function of a wrapper\'s name',
     'void Tell(const std::string& c, const std::string& t) { QMessageBox b(0, c, t); }\n'
     'void f() { StatusBar1->Tell("Ready", "Set"); }', 0),
    ('values of a declared text', 'void f() { ShowMessage(NotFound({"index.htm", Name("a b")})); }', 0),
    ('a file name', 'void f() { ShowMessage(Missing() + "data/index.htm" + "help.chm"); }', 0),
    ('a text handed on in a sum', 'std::string Why(const std::string& s) { return s + ": " + Reason(); }\n'
                                  'void f() { ShowMessage(Why("Disk full")); }', 1),
    ('a text handed through', 'std::string Same(const std::string& s) { return s; }\n'
                              'void f() { ShowMessage(Same("Later") + Path("a b")); }', 1),
    ('a definition', 'int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);', 0),
    ('another object\'s member', 'void f(W& w) { ShowMessage(w.Title()); }\nstd::string Title() { return "x y"; }', 0),
    ('an error as raised', 'void f() { try { g(); } catch (const Exception& e) { ShowMessage(e.Message()); } }', 1),
    ('what the try block raises', 'void g(int n) { if (n) throw EWriteError("Disk full"); }\n'
                                  'void f() { try { g(1); } catch (const EAbort&) {\n} catch (const Exception& e) {\n'
                                  '  ShowMessage(ErrorText(e)); } }', 1),
    ('a wording raised', 'const TWording Full{"Disk %1 full"};\n'
                         'void g(int n) { throw EWriteError(TMessage(Full, {std::to_string(n)})); }\n'
                         'void f() { try { g(1); } catch (const Exception& e) { ShowMessage(ErrorText(e)); } }', 0),
    ('the member function called', 'void R::Load() { throw Exception("Unreadable"); }\n'
                                   'void Q::Load() { throw Exception("Other"); }\n'
                                   'void f() { R r; try { r.Load(); } catch (const Exception& e) { ShowMessage(ErrorText(e)); } }', 1),
    ('an error among the values', 'const TRunTimeText NotSaved{"Could not save %1: %2"};\n'
                                  'void f(const std::string& p) { try { g(); } catch (const Exception& e) {\n'
                                  '  MessageDlg(NotSaved({p, e.Message()}), mtError, mbOK); } }', 1),
    ('a reason wrapped in a message', 'const TWording Failed{"List failed: %1"};\n'
                                      'void g3() { throw ENetError("Refused"); }\nvoid g2() { g3(); }\nvoid g1() { g2(); }\n'
                                      'void h() { try { g1(); } catch (const ENetError& e) {\n'
                                      '  throw EFtpError(TMessage(Failed, {e.Said()})); } }\n'
                                      'void f() { try { h(); } catch (const Exception& e) { ShowMessage(ErrorText(e)); } }', 1),
    ('English among the values', 'const TWording Failed{"Cannot write %1: %2"};\n'
                                 'void g() { TMessage m = TMessage(Failed, {path, "disk full"}); throw EWriteError(std::move(m)); }\n'
                                 'void f() { try { g(); } catch (const Exception& e) { ShowMessage(ErrorText(e)); } }', 1),
    ('a reason built by a helper', 'std::string Why(int n) { return "it offers " + std::to_string(n) + " commands"; }\n'
                                   'void M::Load(int n) { if (const std::string why = Why(n); !why.empty())\n'
                                   '  throw ELoadError(Name() + " is not valid: " + why + "."); }\n'
                                   'void f(M& m) { try { m.Load(3); }\n'
                                   '  catch (const ELoadError& e) { ShowMessage(ErrorText(e)); } }',
     3),
    ('a failure kept', 'const std::string& Error() const { return error_; }\n'
                       'void R::Run(const std::string& n) { error_ = "Cannot read " + n; }\n'
                       'void f(R& r) { r.Run("a"); ShowMessage(r.Error()); }', 1),
    # Texts a window shows that the program writes into it while it runs.
    ('a model\'s header data',
     'QVariant M::headerData(int s, Qt::Orientation o, int role) const {\n'
     '  static const char* const captions[] = {"File Name", "Size", "Date"};\n'
     '  return QVariant(captions[s]); }', 3),
    ('declared headings',
     'const TRunTimeText Size{"Size"};\n'
     'QVariant M::headerData(int s, Qt::Orientation, int) const { return ToQString(Size()); }', 0),
    ('a status label\'s text',
     'void W::Finish(int i) { StatusBar1->setText("Processing line " + QString::number(i)); }', 1),
    ('a status bar\'s message', 'void W::Go() { StatusBar1->showMessage("Ready"); }', 1),
    ('a status through a function of ours',
     'void W::Status(const std::string& text, int p) { info->setText(ToQString(text)); }\n'
     'void W::Go() { Status("Working: starting...", 0); }', 1),
    ('a function of that name elsewhere',
     'void W::Status(const std::string& text) { info->setText(ToQString(text)); }\n'
     'void E::Status(const std::string& t) { t_ = t; }\n'
     'void E::Fail() { Status("Error"); }', 0),
    ('a window\'s own title set later',
     'void W::Load() { setWindowTitle(CaptionOf(state_)); }\n'
     'const char* CaptionOf(int s) { return s ? "Recording" : "Idle"; }', 2),
    ('what a window is built with',
     'W::W(QWidget* p) : QDialog(p) { label->setText("File name"); Build(); }\n'
     'void W::Build() { button->setToolTip("Close the window"); setWindowTitle("Files"); }', 0),
    ('what it does later', 'W::W() { connect(b, &B::clicked, [this] { label->setText("Done"); }); }', 1),
    ('what a function built with does later',
     'W::W() { Build(); }\nvoid W::Build() { label->setText("Files"); }\nvoid W::Reload() { Build(); }', 1),
    ('an edit\'s value',
     'class W { QLineEdit* Edit1; };\nvoid W::Go() { Edit1->setText("<META http-equiv=\\"Page-Enter\\">"); }', 0),
    ('a sign, a version and a name',
     'void W::Show(bool m) { mark->setText(m ? "M" : "");\n'
     '  version->setText("89a"); setWindowTitle("Vellumix Gif Animator 1.0"); }', 0),
    ('a property\'s default and a constant',
     'class C { std::string Title = "Calculator";\n'
     '  static constexpr const char* ReadOnly = "The document is read-only"; };\n'
     'void C::Run() { dialog.setWindowTitle(ToQString(Title)); bar->showMessage(ReadOnly); }', 1),
    # (..., the file's path) for a file of a component whose every error is shown.
    ('a database error', 'void Q::Open() { if (!db_) throw ESQLerror("No data source");\n'
                         '  throw EAbort("Aborted"); }', 1, 'database/Q.cpp'),
    ('a database error kept and raised later',
     'const TWording Unknown{"unknown result %1"};\n'
     'TMessage Name(int c) { return c ? std::string("SQL_ERROR") : TMessage(Unknown, {std::to_string(c)}); }\n'
     'std::unique_ptr<E> Check(int c) {\n'
     '  return c > 1 ? std::make_unique<ESQLerror>("Odd") : std::make_unique<ESQLerror>(Name(c)); }\n'
     'void f(int c) { std::unique_ptr<E> e = Check(c); throw *e; }', 1, 'database/Q.cpp'),
    ('an error of another component', 'void f() { throw EParserError("No tag"); }', 0, 'internet/P.cpp'),
    ('an image error of a declared class', 'VX_DECLARE_EXCEPTION(GIFException, EInvalidGraphic);\n'
                                           'void f(int n) { if (n > 8) throw GIFException("Invalid GIF data"); }',
     1, 'images/GIFDecoder.cpp'),
    ('an error class derived from one', 'class EBad : public Exception {};\nclass GIFProblem : public EBad {};\n'
                                        'void f() { throw GIFProblem("Broken"); }', 1, 'images/R.cpp'),
    ('a text kept in a constant', 'inline constexpr const char* SCorrupt = "GIF data is corrupt";\n'
                                  'void f() { throw EInvalidGraphicOperation(SCorrupt); }', 1, 'images/R.cpp'),
    ('a local of a constant\'s name', 'const char* reason = "Broken";\n'
                                       'void f(int n) { std::string reason = Why(n); throw EInvalidGraphic(reason); }\n'
                                       'void g(const std::string& reason) { throw EInvalidGraphic(reason); }',
     0, 'images/R.cpp'),
    ('a text formatted into a buffer', 'void f(int b) { char m[64];\n'
                                       '  std::snprintf(m, sizeof m, "Unknown block: %.2x", b);\n'
                                       '  throw EInvalidGraphic(m); }', 1, 'images/R.cpp'),
    ('a number formatted into a buffer', 'void f(int b) { char m[8]; std::snprintf(m, sizeof m, "%.2x", b);\n'
                                         '  throw EInvalidGraphic(TMessage(Unknown, {std::string(m)})); }',
     0, 'images/R.cpp'),
    ('a wording kept apart', 'const TWording SCorrupt{"GIF data is corrupt"};\n'
                             'void f(int n) { throw EInvalidGraphicOperation(TMessage(SCorrupt, {})); }',
     0, 'images/R.cpp'),
]


def self_test(scan, cases, found_what):
    failures = 0
    for what, text, expected, *path in cases:
        found = scan([Source(path[0] if path else 'case.cpp', text)]).problems()
        if len(found) != expected:
            failures += 1
            print('self-test "%s": %d %s found, %d expected' % (what, len(found), found_what, expected))
            for line in found:
                print('  ' + line)
    return failures


def main(scan=Scan, cases=SELF_TEST, found_what='bare texts'):
    """The command line of a scan of the program's sources: with --self-test
    its cases (what the case shows, source, how many it finds[, the file's
    path]), with a source root the program there."""
    if sys.argv[1:] == ['--self-test']:
        sys.exit(1 if self_test(scan, cases, found_what) else 0)
    problems = scan(list(program_sources(sys.argv[1]))).problems()
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
