#!/usr/bin/python3
"""Walks the update road of a running Panelup window as a screen reader does.

Everything goes through AT-SPI (Debian's pyatspi): the window is read, not
looked at, and it is driven by the controls' actions alone, never by the
pointer or keys. Run by /usr/bin/python3, on the session bus and display the
caller gives in the environment.

The result is one JSON document (--out): the window read after start-up and
at the end ("snapshots"), the message boxes met and how each was answered,
the AT-SPI events seen on the way, and "error" when the walk could not end
as asked. Every wait counts its attempts (--attempts steps of --step-ms).
"""

import argparse
import json
import sys
import traceback
import warnings

# The interface getters pyatspi itself uses are marked deprecated in this
# libatspi; their warnings are noise on the caller's error output.
warnings.filterwarnings("ignore", category=DeprecationWarning)

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
    import pyatspi
except Exception as error:  # the caller reports this as the reason
    print(f"accessibility_walk: pyatspi cannot be used: {error}", file=sys.stderr)
    sys.exit(3)

EVENTS = (
    "object:property-change:accessible-value",
    "object:value-changed",
    "object:property-change:accessible-name",
    "object:text-changed",
    "object:property-change:accessible-description",
    "object:state-changed:showing",
    "window:create",
)

RELATIONS = {
    Atspi.RelationType.LABELLED_BY: "labelled-by",
    Atspi.RelationType.LABEL_FOR: "label-for",
    Atspi.RelationType.DESCRIBED_BY: "described-by",
    Atspi.RelationType.DESCRIPTION_FOR: "description-for",
}


def nick(state):
    return state.value_nick


def safe(read, fallback=None):
    """A property of an object the application may have dropped meanwhile."""
    try:
        return read()
    except Exception:
        return fallback


def states_of(acc):
    states = safe(lambda: acc.get_state_set().get_states(), [])
    return sorted(nick(s) for s in states)


def showing(acc):
    return safe(lambda: acc.get_state_set().contains(Atspi.StateType.SHOWING), False)


def node(acc, path):
    """One control as a screen reader reads it."""
    entry = {
        "path": path,
        "role": safe(acc.get_role_name, ""),
        "name": safe(acc.get_name, ""),
        "description": safe(acc.get_description, ""),
        "states": states_of(acc),
        "relations": [],
        "actions": [],
    }
    for relation in safe(acc.get_relation_set, []) or []:
        kind = RELATIONS.get(relation.get_relation_type())
        if kind is None:
            continue
        for index in range(relation.get_n_targets()):
            target = relation.get_target(index)
            entry["relations"].append(
                {
                    "type": kind,
                    "role": safe(target.get_role_name, ""),
                    "name": safe(target.get_name, ""),
                }
            )
    value = safe(acc.get_value_iface)
    if value is not None:
        entry["value"] = {
            "current": safe(value.get_current_value),
            "minimum": safe(value.get_minimum_value),
            "maximum": safe(value.get_maximum_value),
        }
    action = safe(acc.get_action_iface)
    if action is not None:
        count = safe(action.get_n_actions, 0)
        entry["actions"] = [safe(lambda i=i: action.get_action_name(i), "") for i in range(count)]
    return entry


def tree(acc, known, path="0", depth=0):
    """The control and those inside it; each also kept in known with its
    object, so that events can name their source without asking the
    application, which may be busy writing firmware when they arrive."""
    entry = node(acc, path)
    known.append((acc, entry))
    entries = [entry]
    if depth > 8:
        return entries
    for index in range(safe(acc.get_child_count, 0)):
        child = safe(lambda: acc.get_child_at_index(index))
        if child is not None:
            entries += tree(child, known, f"{path}.{index}", depth + 1)
    return entries


def press(acc):
    """Runs the control's "Press" action; the names it offers otherwise."""
    action = safe(acc.get_action_iface)
    names = []
    if action is not None:
        for index in range(safe(action.get_n_actions, 0)):
            name = safe(lambda: action.get_action_name(index), "")
            names.append(name)
            if name == "Press":
                return bool(action.do_action(index)), names
    return False, names


def find_all(acc, role, depth=0):
    found = []
    if safe(acc.get_role_name) == role:
        found.append(acc)
    if depth < 8:
        for index in range(safe(acc.get_child_count, 0)):
            child = safe(lambda: acc.get_child_at_index(index))
            if child is not None:
                found += find_all(child, role, depth + 1)
    return found


class Walk:
    def __init__(self, options):
        self.options = options
        self.answers = dict(answer.split("=", 1) for answer in options.answer)
        self.result = {
            "snapshots": {},
            "boxes": [],
            "events": [],
            "attempts": {},
            "exitPressed": False,
            "error": None,
        }
        self.phase = "find-application"
        self.attempts = 0
        self.total = 0
        self.application = None
        self.answered = []  # the boxes answered, never answered twice
        self.known = []  # (object, entry) of the controls read
        self.unread = []  # (object, event) whose new name could not be read yet

    # -- events ------------------------------------------------------------
    def on_event(self, event):
        source = event.source
        data = event.any_data
        kind = type(data).__name__
        unread = None
        if isinstance(data, Atspi.Accessible):
            # Qt names the object whose name changed; its new name is read
            # from it, as a screen reader does.
            unread = data
            data = safe(data.get_name)
        elif not isinstance(data, (int, float, str, bool, type(None))):
            data = str(data)
        read = next((entry for acc, entry in self.known if acc is source), None)
        if read is None:
            read = {
                "role": safe(source.get_role_name, ""),
                "name": safe(source.get_name, ""),
                "description": safe(source.get_description, ""),
            }
        self.result["events"].append(
            {
                "type": event.type,
                "role": read["role"],
                "name": read["name"],
                "description": read["description"],
                "detail1": event.detail1,
                "data": data,
                "dataType": kind,
                "attempt": self.total,
                "readLate": False,
                "phase": self.phase,
            }
        )
        if data is None and unread is not None:
            # The window was busy in a fixed wait; read again once it answers.
            self.unread.append((unread, self.result["events"][-1]))

    def read_late(self):
        still = []
        for acc, event in self.unread:
            name = safe(acc.get_name)
            if name is None:
                still.append((acc, event))
            else:
                event["data"] = name
                event["readLate"] = True
        self.unread = still

    # -- the road ----------------------------------------------------------
    def fail(self, message):
        self.result["error"] = f"{message} (phase {self.phase})"
        pyatspi.Registry.stop()
        return False

    def next_phase(self, phase):
        self.result["attempts"][self.phase] = self.attempts
        self.phase = phase
        self.attempts = 0

    def windows(self):
        """The application's windows that are on screen: (main, boxes).

        A call that fails (the window is busy in a fixed wait) ends the
        attempt at once: every further call would wait as long, and the
        events waiting meanwhile would be read too late."""
        main, boxes, seen = None, [], []
        for index in range(self.application.get_child_count()):
            window = self.application.get_child_at_index(index)
            name = window.get_name()
            states = states_of(window)
            seen.append({"name": name, "role": window.get_role_name(), "states": states})
            if "showing" not in states:
                continue
            if name == self.options.window:
                main = window
            else:
                boxes.append(window)
        # What the attempts saw, each change once, for a walk that does not end.
        timeline = self.result.setdefault("windows", [])
        if not timeline or timeline[-1]["seen"] != seen:
            timeline.append({"attempt": self.total, "phase": self.phase, "seen": seen})
        return main, boxes

    def answer(self, box):
        title = safe(box.get_name, "")
        labels = [safe(l.get_name, "") for l in find_all(box, "label")]
        buttons = find_all(box, "push button")
        record = {
            "title": title,
            "role": safe(box.get_role_name, ""),
            "text": [text for text in labels if text],
            "buttons": [safe(b.get_name, "") for b in buttons],
            "answer": None,
            "actions": [],
            "phase": self.phase,
        }
        self.result["boxes"].append(record)
        wanted = self.answers.get(title)
        if wanted is None:
            return self.fail(f'a box no answer was given for: "{title}" {record["text"]}')
        for button in buttons:
            if safe(button.get_name) == wanted:
                done, names = press(button)
                record["actions"] = names
                if not done:
                    return self.fail(f'"{wanted}" in "{title}" has no Press action: {names}')
                record["answer"] = wanted
                self.answered.append(box)
                return True
        return self.fail(f'"{title}" has no button "{wanted}": {record["buttons"]}')

    def button(self, window, name):
        for candidate in find_all(window, "push button"):
            if safe(candidate.get_name) == name:
                return candidate
        return None

    def step(self):
        self.attempts += 1
        self.total += 1
        if self.total > self.options.attempts:
            return self.fail(f"the road did not end within {self.options.attempts} attempts")
        try:
            return self.advance()
        except Exception:
            # A call into a window busy writing firmware times out; the next
            # attempt asks again.
            self.result.setdefault("retried", []).append(traceback.format_exc(limit=1))
            return True

    def advance(self):
        if self.phase == "find-application":
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(safe(desktop.get_child_count, 0)):
                app = safe(lambda: desktop.get_child_at_index(index))
                if app is not None and safe(app.get_name) == self.options.application:
                    # Every read asks the application itself.
                    Atspi.Accessible.set_cache_mask(app, Atspi.Cache.NONE)
                    self.application = app
                    self.next_phase("start-up")
            return True

        # libatspi keeps what it read of the windows; a new box would not
        # be seen.
        Atspi.Accessible.clear_cache(self.application)
        main, boxes = self.windows()
        self.read_late()
        # A box answered may still be listed until the application has
        # closed it; what libatspi reads of a closed one may be stale.
        boxes = [box for box in boxes if not any(box is old for old in self.answered)]
        if boxes:
            return self.answer(boxes[0])
        if main is None:
            return True

        if self.phase == "start-up":
            update = self.button(main, self.options.update)
            if update is None or not safe(
                lambda: update.get_state_set().contains(Atspi.StateType.ENABLED), False
            ):
                return True
            self.result["snapshots"]["start"] = tree(main, self.known)
            done, names = press(update)
            if not done:
                return self.fail(f'"{self.options.update}" has no Press action: {names}')
            self.next_phase("updating")
            return True

        if self.phase == "updating":
            answered = [box["title"] for box in self.result["boxes"]]
            if self.options.last not in answered:
                return True
            self.result["snapshots"]["end"] = tree(main, [])
            leave = self.button(main, self.options.exit)
            if leave is None:
                return self.fail(f'no "{self.options.exit}" button')
            self.next_phase("leaving")
            done, names = press(leave)
            if not done:
                return self.fail(f'"{self.options.exit}" has no Press action: {names}')
            self.result["exitPressed"] = True
            self.result["attempts"][self.phase] = self.attempts
            pyatspi.Registry.stop()
            return False
        return True


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True)
    parser.add_argument("--application", required=True, help="the application's AT-SPI name")
    parser.add_argument("--window", required=True, help="the main window's accessible name")
    parser.add_argument("--update", required=True, help="the button that starts the update")
    parser.add_argument("--exit", required=True, help="the button that leaves")
    parser.add_argument("--answer", action="append", default=[], help="box title=button")
    parser.add_argument("--last", required=True, help="the title of the road's last box")
    parser.add_argument("--attempts", type=int, default=2400)
    parser.add_argument("--step-ms", type=int, default=100)
    options = parser.parse_args()

    # A call into a window that is busy (a fixed wait after a write) gives up
    # soon and is asked again on the next attempt.
    Atspi.set_timeout(1000, 15000)
    walk = Walk(options)
    pyatspi.Registry.registerEventListener(walk.on_event, *EVENTS)
    GLib.timeout_add(options.step_ms, walk.step)
    try:
        pyatspi.Registry.start()
    except Exception:
        walk.result["error"] = traceback.format_exc()
    walk.result["attempts"][walk.phase] = walk.attempts
    walk.result["attempts"]["total"] = walk.total
    walk.result["phase"] = walk.phase
    with open(options.out, "w", encoding="utf-8") as out:
        json.dump(walk.result, out, indent=1, ensure_ascii=False)
    return 0 if walk.result["error"] is None else 1


if __name__ == "__main__":
    sys.exit(main())
