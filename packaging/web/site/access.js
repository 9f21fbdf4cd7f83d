// SPDX-License-Identifier: MIT
// The calculator's controls as elements of the page, for screen readers and touch keyboards: Qt
// draws the window into one canvas, which neither can use. The program sends what its controls
// are (update) and where its focus is (focus); the elements lie behind the canvas at the
// controls' places (each runner at its own, and a box's items where its open list draws them),
// take the page's focus in its stead, hand keys on to the program as they come, and send a
// screen reader's actions back (act). On a phone the controls that scroll lie in a part of the
// layer cut to where they show, so that touch exploration finds only what is in sight.
'use strict';

window.ztcAccess = (() => {
    let act = () => {};
    let canvas = null;
    let layer = null;
    let sheet = null;
    let focusedId = null;
    // Each control's element, the element in it that takes the focus, and a box's list.
    const wrappers = new Map();
    const elements = new Map();
    const lists = new Map();
    // What each text box showed last, to tell what the touch keyboard or screen reader changed.
    const shown = new Map();
    // The latest state sent, until it is the page's; and how many controls' elements are made in
    // one task, so that a phone never waits on all of them at once.
    let pending = null;
    const MADE_AT_ONCE = 6;
    // Once the first state sent is wholly the page's.
    let made;
    const allMade = new Promise((resolve) => { made = resolve; });

    // A key as the keyboard's own, at the canvas, where the program listens; says whether the
    // program took it.
    function key(type, init) {
        return !canvas.dispatchEvent(new KeyboardEvent(type, { ...init, bubbles: true, cancelable: true }));
    }

    function tap(name, modifiers = {}) {
        const init = { key: name, code: name.length === 1 ? '' : name, ...modifiers };
        key('keydown', init);
        key('keyup', init);
    }

    // Keys that reach an element go on to the program; what it takes, the browser leaves alone.
    // A touch keyboard's composing keys come as text instead (typed()).
    function handOn(event) {
        if (event.isComposing || event.key === 'Unidentified' || event.key === 'Process')
            return;
        const { key: name, code, location, repeat, ctrlKey, shiftKey, altKey, metaKey } = event;
        if (key(event.type, { key: name, code, location, repeat, ctrlKey, shiftKey, altKey, metaKey }))
            event.preventDefault();
    }

    // The clipboard's events go where the program listens for them too: Qt listens at the
    // document in Chromium, which they reach as they are, and at the canvas elsewhere. The
    // program pastes for itself, so a paste never changes an element's own text.
    function handOnClipboard(event) {
        if (!window.chrome) {
            let clipboardData = event.clipboardData;
            // Qt takes what a paste brings by its listed types, and WebKit lists none: the text
            // goes on in data that lists it.
            if (event.type === 'paste' && clipboardData) {
                clipboardData = new DataTransfer();
                clipboardData.setData('text/plain', event.clipboardData.getData('text/plain'));
            }
            canvas.dispatchEvent(new ClipboardEvent(event.type, { clipboardData, cancelable: true }));
            // The program writes what it copies itself: the browser's own copy of the page's
            // selection, which is none, would empty the clipboard in WebKit.
            event.preventDefault();
        }
        if (event.type === 'paste')
            event.preventDefault();
    }

    // Text changed in a box by a touch keyboard or a screen reader reaches the program as the
    // keys that make the same change: the changed part selected, then typed over or deleted.
    function typed(id, input) {
        const before = shown.get(id) || '';
        const after = input.value;
        let start = 0;
        while (start < before.length && start < after.length && before[start] === after[start])
            start++;
        let end = 0;
        while (end < before.length - start && end < after.length - start &&
               before[before.length - 1 - end] === after[after.length - 1 - end])
            end++;
        tap('End');
        for (let i = 0; i < end; i++)
            tap('ArrowLeft');
        for (let i = 0; i < before.length - start - end; i++)
            tap('ArrowLeft', { shiftKey: true });
        const inserted = after.slice(start, after.length - end);
        if (inserted)
            [...inserted].forEach((ch) => tap(ch));
        else if (before.length - start - end > 0)
            tap('Backspace');
        shown.set(id, after);
    }

    function optionList(id, label, multiple) {
        const list = document.createElement('div');
        list.className = 'control';
        list.setAttribute('role', 'listbox');
        list.setAttribute('aria-label', label);
        list.id = `${id}-options`;
        if (multiple)
            list.setAttribute('aria-multiselectable', 'true');
        return list;
    }

    function create(control) {
        const { id, role } = control;
        let element;
        if (role === 'button') {
            element = document.createElement('button');
            element.type = 'button';
            element.addEventListener('click', () => act(id, 'press', 0));
        } else if (role === 'combobox') {
            element = document.createElement('div');
            const input = document.createElement('input');
            input.type = 'text';
            input.setAttribute('role', 'combobox');
            input.setAttribute('aria-expanded', 'false');
            input.setAttribute('aria-autocomplete', 'none');
            input.setAttribute('aria-controls', `${id}-options`);
            input.autocomplete = 'off';
            input.spellcheck = false;
            input.addEventListener('input', () => typed(id, input));
            const options = optionList(id, control.name, false);
            options.addEventListener('click', (event) => {
                const index = [...options.children].indexOf(event.target);
                if (index >= 0)
                    act(id, 'pick', index);
            });
            element.append(input);
            lists.set(id, options);
        } else if (role === 'listbox') {
            // A leg's runners, many chosen; the play's tickets, one brought back.
            element = optionList(id, control.name, !control.single);
            element.tabIndex = -1;
            element.addEventListener('click', (event) => {
                const index = [...element.children].indexOf(event.target);
                if (index >= 0)
                    act(id, 'toggle', index);
            });
        } else if (role === 'status') {
            // The ticket's count of combinations: heard when it changes.
            element = document.createElement('div');
            element.setAttribute('role', 'status');
        } else if (role === 'textbox') {
            element = document.createElement('div');
            element.setAttribute('role', 'textbox');
            element.setAttribute('aria-readonly', 'true');
            element.setAttribute('aria-multiline', 'true');
            element.setAttribute('aria-live', 'polite');
        } else {
            element = document.createElement('div');
        }
        element.classList.add('control');
        element.dataset.control = id;
        (control.sheet ? sheet : layer).append(element);
        // A box's list beside it, not in it: it opens over the rest of the window.
        if (lists.has(id))
            layer.append(lists.get(id));
        // The element that takes the page's focus for this control.
        const target = element.querySelector('input') || element;
        if (role !== 'text' && role !== 'status') {
            target.tabIndex = -1;
            target.addEventListener('focus', () => {
                if (focusedId !== id)
                    act(id, 'focus', 0);
            });
        }
        wrappers.set(id, element);
        elements.set(id, target);
        return element;
    }

    // A rectangle in the page's pixels, from the element's parent.
    function place(element, [x, y, width, height], [left, top] = [0, 0]) {
        Object.assign(element.style, { left: `${x - left}px`, top: `${y - top}px`, width: `${width}px`, height: `${height}px` });
    }

    function fill(list, options, current) {
        while (list.children.length > options.length)
            list.lastChild.remove();
        options.forEach(([text, selected, rect, scratched, named], i) => {
            let option = list.children[i];
            if (!option) {
                option = document.createElement('div');
                option.setAttribute('role', 'option');
                option.id = `${list.id}-${i}`;
                list.append(option);
            }
            // A scratched runner keeps its place, and says it can never be chosen; a graded one
            // says his grade.
            const name = named || (scratched ? `${text}, scratched` : text);
            if (option.textContent !== name)
                option.textContent = name;
            option.setAttribute('aria-selected', String(selected));
            if (scratched)
                option.setAttribute('aria-disabled', 'true');
            else
                option.removeAttribute('aria-disabled');
            option.classList.toggle('placed', !!rect);
            if (rect)
                place(option, rect);
        });
        if (current >= 0 && current < options.length)
            list.setAttribute('aria-activedescendant', `${list.id}-${current}`);
        else
            list.removeAttribute('aria-activedescendant');
    }

    function show(control, sheetRect) {
        const element = wrappers.get(control.id) || create(control);
        const box = elements.get(control.id);
        place(element, control.rect, control.sheet ? sheetRect : undefined);
        element.hidden = !control.visible;
        if (control.role !== 'text' && control.role !== 'status')
            box.setAttribute('aria-disabled', String(!control.enabled));
        if (control.description)
            box.setAttribute('aria-description', control.description);
        switch (control.role) {
        case 'combobox': {
            box.setAttribute('aria-label', control.name);
            if (box.value !== control.value)
                box.value = control.value;
            shown.set(control.id, control.value);
            const list = lists.get(control.id);
            box.setAttribute('aria-expanded', String(!!control.popup));
            place(list, control.popup || control.rect);
            list.hidden = !control.visible;
            fill(list, control.options, control.popup ? control.current : -1);
            break;
        }
        case 'listbox':
            fill(element, control.options, control.current);
            break;
        case 'textbox':
        case 'status':
            box.setAttribute('aria-label', control.name);
            if (box.textContent !== control.value)
                box.textContent = control.value;
            break;
        default:
            if (element.textContent !== control.name)
                element.textContent = control.name;
        }
        if (control.focused)
            focus(control.id);
    }

    // The elements in the order the program lists the controls, which is the order the screen
    // shows them in: the order a screen reader reads them in. A box's list follows its box, or
    // on a phone the sheet that holds the boxes.
    function arrange(order) {
        const inLayer = [];
        const inSheet = [];
        const sheetLists = [];
        for (const id of order) {
            const element = wrappers.get(id);
            const onSheet = element.parentNode === sheet;
            if (onSheet && !inSheet.length)
                inLayer.push(sheet);
            (onSheet ? inSheet : inLayer).push(element);
            if (lists.has(id))
                (onSheet ? sheetLists : inLayer).push(lists.get(id));
        }
        inLayer.splice(inLayer.indexOf(sheet) + 1, 0, ...sheetLists);
        reorder(layer, inLayer.filter((e) => e.parentNode === layer));
        reorder(sheet, inSheet);
    }

    // Puts the parent's children in the order wanted. The one that holds the page's focus stays
    // where it is and the others move round it: moving it would take the focus, and on a phone
    // the touch keyboard, away.
    function reorder(parent, wanted) {
        if (wanted.every((element, i) => parent.children[i] === element))
            return;
        const kept = wanted.find((element) => element.contains(document.activeElement));
        if (!kept) {
            parent.append(...wanted);
            return;
        }
        const at = wanted.indexOf(kept);
        wanted.slice(0, at).forEach((element) => parent.insertBefore(element, kept));
        let last = kept;
        for (const element of wanted.slice(at + 1)) {
            last.after(element);
            last = element;
        }
    }

    // The page's focus to the control's element, unless it is somewhere else on the page.
    function focus(id) {
        focusedId = id;
        const target = elements.get(id);
        const here = document.activeElement;
        if (target && here !== target && (here === document.body || here === canvas || layer.contains(here)))
            target.focus({ preventScroll: true });
    }

    return {
        // The program starts: its entry for actions; the canvas is then in the page.
        connect(entry) {
            act = entry;
            const screen = document.getElementById('screen');
            canvas = screen.querySelector('canvas');
            // The canvas says nothing a screen reader could use and takes no focus: a press on it
            // leaves the page's focus on the element of the control that has Qt's focus. (Qt
            // makes it editable for the clipboard's events, which reach the program without.)
            canvas.setAttribute('aria-hidden', 'true');
            canvas.contentEditable = 'false';
            canvas.addEventListener('mousedown', (event) => event.preventDefault());
            layer = document.createElement('div');
            layer.id = 'access';
            sheet = document.createElement('div');
            sheet.className = 'sheet';
            layer.append(sheet);
            layer.addEventListener('keydown', handOn);
            layer.addEventListener('keyup', handOn);
            // The menu key and Shift+F10 open the program's menus, not the browser's.
            layer.addEventListener('contextmenu', (event) => event.preventDefault());
            for (const type of ['copy', 'cut', 'paste'])
                layer.addEventListener(type, handOnClipboard);
            screen.append(layer);
            // A touch keyboard comes up only for a focus given while the user acts, which a tap
            // is from its end on: a tap on the box that has the focus focuses it again then. A
            // drag, a long press or a second finger is no tap, and leaves the keyboard as it was.
            let tap = null;
            canvas.addEventListener('touchstart', (event) => {
                const [touch] = event.changedTouches;
                tap = event.touches.length === 1 && touch
                    ? { id: touch.identifier, x: touch.clientX, y: touch.clientY, time: event.timeStamp }
                    : null;
            });
            const finger = (event) => tap && [...event.changedTouches].find((t) => t.identifier === tap.id);
            canvas.addEventListener('touchmove', (event) => {
                const touch = finger(event);
                if (touch && Math.hypot(touch.clientX - tap.x, touch.clientY - tap.y) > 10)
                    tap = null;
            });
            canvas.addEventListener('touchcancel', () => { tap = null; });
            canvas.addEventListener('touchend', (event) => {
                const tapped = finger(event) && event.touches.length === 0 && event.timeStamp - tap.time < 500
                    ? tap : null;
                tap = null;
                const target = elements.get(focusedId);
                if (!tapped || !target || target.tagName !== 'INPUT' || document.activeElement !== target)
                    return;
                const { left, top, right, bottom } = wrappers.get(focusedId).getBoundingClientRect();
                if (tapped.x >= left && tapped.x < right && tapped.y >= top && tapped.y < bottom) {
                    target.blur();
                    target.focus({ preventScroll: true });
                }
            });
        },
        update(json) {
            const scheduled = pending !== null;
            pending = json;
            if (!scheduled)
                setTimeout(apply, 0);
        },
        focus,
        // When every control has its element: the page waits for that before it shows the window.
        allMade,
    };

    // The state sent last, made the page's in a task of its own, apart from the program's. The
    // first time, a few controls' elements are made in each task, and the rest follow in the
    // next; the state sent meanwhile is the one finished.
    function apply() {
        const { controls, sheet: sheetRect = [0, 0, 0, 0], alert = '' } = JSON.parse(pending);
        const unmade = controls.filter((control) => !wrappers.has(control.id));
        if (unmade.length > MADE_AT_ONCE) {
            unmade.slice(0, MADE_AT_ONCE).forEach((control) => show(control, sheetRect));
            setTimeout(apply, 0);
            return;
        }
        pending = null;
        // What the window says in a box of its own, heard at once.
        let said = document.getElementById('said');
        if (!said) {
            said = document.createElement('div');
            said.id = 'said';
            said.setAttribute('role', 'alert');
            layer.append(said);
        }
        if (said.textContent !== alert)
            said.textContent = alert;
        place(sheet, sheetRect);
        controls.forEach((control) => show(control, sheetRect));
        arrange(controls.map((control) => control.id));
        made();
    }
})();
