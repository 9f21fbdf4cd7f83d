# SPDX-License-Identifier: MIT
"""What a screen reader finds in the page: Chromium's accessibility tree, read and acted on as a
screen reader does, and the order the page's elements come in."""
import os
import time

from pagedriver import Failure

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..')
# The roles of the window's controls as the page's accessibility tree names them.
ROLES = {'text': 'StaticText', 'combobox': 'combobox', 'listbox': 'listbox', 'button': 'button',
         'textbox': 'textbox', 'status': 'status'}


def listed_controls():
    """The window's controls with role and name, from the list the window suite checks the
    Linux program against."""
    with open(os.path.join(TOP, 'tests', 'accessible-names.txt')) as f:
        return [line.rstrip('\n').split('\t') for line in f if line.strip() and not line.startswith('#')]


class Tree:
    """The page's accessibility tree, as a screen reader reads it and acts on it."""

    def __init__(self, browser):
        self.browser = browser
        browser.page('Accessibility.enable')
        browser.page('DOM.enable')

    def nodes(self):
        return [n for n in self.browser.page('Accessibility.getFullAXTree')['nodes'] if not n.get('ignored')]

    @staticmethod
    def role(node):
        return node.get('role', {}).get('value')

    @staticmethod
    def name(node):
        return node.get('name', {}).get('value')

    @staticmethod
    def value(node):
        return node.get('value', {}).get('value', '')

    @staticmethod
    def state(node, name):
        return next((p['value'].get('value') for p in node.get('properties', []) if p['name'] == name), None)

    def find(self, role, name, nodes=None):
        """The one node of the role with that name (None: of any name, as '*' lists it)."""
        found = [n for n in nodes or self.nodes() if self.role(n) == role and name in (None, '*', self.name(n))]
        if len(found) != 1:
            raise Failure(f'the page has {len(found)} {role} named "{name}", not one')
        return found[0]

    def options(self, listbox, nodes=None):
        by_id = {n['nodeId']: n for n in nodes or self.nodes()}
        return [by_id[i] for i in listbox.get('childIds', []) if i in by_id and self.role(by_id[i]) == 'option']

    def call(self, node, function):
        """Runs function on the node's element, as the element's own activation or focus."""
        target = self.browser.page('DOM.resolveNode', backendNodeId=node['backendDOMNodeId'])['object']
        self.browser.page('Runtime.callFunctionOn', objectId=target['objectId'],
                          functionDeclaration=f'function () {{ this.{function}(); }}')

    def choose(self, role, name, option):
        """Activates the option of that name in the list of the control of that role and name."""
        nodes = self.nodes()
        listbox = self.find('listbox', name, nodes)
        match = [o for o in self.options(listbox, nodes) if self.name(o) == option]
        if not match:
            raise Failure(f'the {role} "{name}" has no option "{option}"')
        self.call(match[0], 'click')

    def wait(self, what, check):
        """Waits for the tree to pass check (a function of the tree's nodes that returns None
        when it passes, or what differs)."""
        difference = None
        for _ in range(100):
            difference = check(self.nodes())
            if difference is None:
                return
            time.sleep(0.05)
        raise Failure(f'after {what}, {difference}')

    def expect_value(self, role, name, value):
        def check(nodes):
            now = self.value(self.find(role, name, nodes))
            return None if now == value else f'the {role} "{name}" holds "{now}", not "{value}"'
        return check

    def expect_selected(self, name, selected):
        def check(nodes):
            options = self.options(self.find('listbox', name, nodes), nodes)
            now = [self.name(o) for o in options if self.state(o, 'selected')]
            return None if now == selected else f'"{name}" has {now} selected, not {selected}'
        return check


def check_tree(tree):
    """Every listed control with its role and name; boxes with their value, legs as
    multi-select lists of runners; nothing of the canvas."""
    nodes = tree.nodes()
    for control, role, name in listed_controls():
        node = tree.find(ROLES[role], name, nodes)
        if role == 'combobox' and not tree.value(node):
            raise Failure(f'the box "{name}" shows no value')
        if role == 'listbox':
            if not tree.state(node, 'multiselectable'):
                raise Failure(f'"{name}" is not a multi-select list')
            if [tree.name(o) for o in tree.options(node, nodes)][-1:] != ['All']:
                raise Failure(f'"{name}" does not end in "All"')
        if role == 'textbox' and (not tree.state(node, 'readonly') or tree.state(node, 'live') != 'polite'):
            raise Failure(f'the ticket "{name}" is not read-only text read out politely')
    fields = [tree.name(n) for n in nodes if tree.role(n) == 'textbox']
    if fields != ['Ticket description']:
        raise Failure(f'the page has the text fields {fields}, not the ticket alone')
    if any(tree.role(n) == 'Canvas' for n in nodes):
        raise Failure('the canvas is in the accessibility tree')
    unlabelled = tree.browser.evaluate("[...document.querySelectorAll('input, textarea, select')]"
                                       ".filter((e) => !e.labels.length && !e.ariaLabel).length")
    if unlabelled:
        raise Failure(f'{unlabelled} form elements of the page have no label')


# The page's shown elements in the page's order, each with where it lies on the screen and
# whether it is on the sheet that scrolls.
ORDER = """[...document.querySelectorAll('#access [data-control]')].filter((e) => !e.hidden)
    .map((e) => { const r = e.getBoundingClientRect();
                  return [e.dataset.control, Math.round(r.top), Math.round(r.left), !!e.closest('.sheet')]; })"""


def in_reading_order(browser):
    """Whether a screen reader meets the page's elements in the order the screen shows their
    controls: on a phone the sheet's from its top, each row from the left, then the dock's; on a
    desktop by rows. Returns the page's order where it differs, else None."""
    shown = browser.evaluate(ORDER)
    page = [control for control, *_ in shown]
    screen = [control for control, *_ in sorted(shown, key=lambda e: (not e[3], e[1], e[2]))]
    return None if page == screen else f'the page has {page}, the screen shows {screen}'


def focused(tree):
    """The role and name of the control that has the page's focus."""
    return [(tree.role(n), tree.name(n)) for n in tree.nodes()
            if tree.state(n, 'focused') and tree.role(n) != 'RootWebArea']


