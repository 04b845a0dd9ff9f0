"""Pickwire under Wine: the plug-in in the mail client stand-in, real pipe clients, pickwire-send and the pipe probe.

Requests are written in code page 932 bytes, as the mail client's texts are. The stand-in journals every EDA_ call
the plug-in makes; a request that is refused must leave no call at all. Some checks read Wine's own trace of the
platform calls (WINEDEBUG channels "sync" and "msg"): the mode of every pipe instance that is created and the
period of every window timer that is armed.
"""
import contextlib
import os
import re
import subprocess
import time
import unittest

import standin
import winenv

PICKWIRE = "Pickwire.dll"
ACTIVATE = ("EDA_RunMacro", ["ActivateMailerPart();"])


def cp932(text):
    return text.encode("cp932")


def open_folder(folder):
    return ("EDA_RunMacro", [f"OpenThisFolder({folder});"])


def select(message_path):
    return ("EDA_SelectMessage", [message_path, "1"])


def shown(folder, message_path):
    """The calls of one request that Pickwire serves, in order."""
    return [ACTIVATE, open_folder(folder), select(message_path)]


def pickwire_calls(journal):
    """The calls that requests make, as (name, args) in journal order."""
    return [(fields[0], fields[1:-1]) for fields in journal.lines("call")
            if fields[0] in ("EDA_RunMacro", "EDA_SelectMessage")]


def pipe_client(*steps, timeout=60):
    """Runs pipe-client.exe with its steps; returns its output lines."""
    result = winenv.run(winenv.binary("pipe-client.exe"), list(steps), timeout=timeout)
    return result.stdout.decode().splitlines()


@contextlib.contextmanager
def all_served():
    """A client that connects and then only holds the pipe: once it is connected, every request written before
    has been handled and the next instance created. It writes nothing, so it makes no call; the block stops the
    stand-in well before the second that the server gives it to write (nothing else is served meanwhile)."""
    holder = winenv.popen(winenv.binary("pipe-client.exe"), ["connect", "sleep:3000", "close"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        assert holder.stdout.readline().strip() == b"connected"
        yield
    finally:
        holder.communicate(timeout=60)


def send_steps(requests):
    """pipe-client steps that send each request (bytes) in turn, as pickwire-send would."""
    return [f"send:{request.hex()}" for request in requests]


def pickwire_send(*args, timeout=60):
    return winenv.run(winenv.binary("pickwire-send.exe"), list(args), timeout=timeout)


@contextlib.contextmanager
def wine_trace(channels):
    """Wine programs started inside this block write the trace of these channels to their stderr."""
    previous = os.environ.get("WINEDEBUG")
    os.environ["WINEDEBUG"] = "-all," + ",".join("+" + channel for channel in channels)
    try:
        yield
    finally:
        if previous is None:
            del os.environ["WINEDEBUG"]
        else:
            os.environ["WINEDEBUG"] = previous


def pipe_modes(stderr):
    """The pipe mode of every instance of Pickwire's pipe created, from the "sync" trace."""
    return [int(mode, 16) for mode in re.findall(
        rb'CreateNamedPipeW \(L"\\\\\\\\\.\\\\pipe\\\\PickwirePipe", 0x[0-9a-f]+, 0x([0-9a-f]+),', stderr)]


def timer_periods(stderr):
    """The period of every arming of the polling timer (id 0x2233), from the "msg" trace."""
    return [int(ms) for ms in re.findall(rb"NtUserSetTimer Added \S+ 2233 \S+ timeout (-?\d+)", stderr)]


PIPE_REJECT_REMOTE_CLIENTS = 0x8


class PickwireCase(unittest.TestCase):
    """A store with folders whose code page 932 names hold 0x5C trail bytes (表, ソ, 能), and parentheses."""

    def setUp(self):
        self.store = standin.Store.temporary(self)
        self.japanese = self.store.add_message("taro/受信箱/表", "0001.eml", "Subject: a\r\n\r\nb\r\n")
        self.archive = self.store.add_message("taro/Archive (2009)", "0002.eml", "Subject: a\r\n\r\nb\r\n")
        self.inbox = self.store.add_message("taro/inbox", "0003.eml", "Subject: a\r\n\r\nb\r\n")
        self.software = self.store.add_message("taro/ソフト/能力", "0004.eml", "Subject: a\r\n\r\nb\r\n")
        # Everything of a message path up to "Account\".
        self.base = self.inbox[:self.inbox.index("Account\\")]

    def plugins(self, conf="PollingTime=50\n"):
        folder = standin.plugin_folder(self, [PICKWIRE], {"Pickwire.conf": conf})
        return [folder / PICKWIRE]

    def assertClean(self, journal):
        """The stand-in quit in order, Pickwire loaded and showed no box."""
        self.assertTrue(journal.finished, journal.text)
        self.assertEqual(journal.returncode, 0)
        self.assertEqual(journal.loads(), {PICKWIRE: ("ok",)})
        self.assertEqual(journal.msgboxes(), [])


class RequestsEndToEnd(PickwireCase):
    def test_requests_served_and_refused(self):
        base = self.base

        def uri(path):
            return cp932("cvdx:" + path)

        long_path = base + "Account\\taro\\inbox:" + "m" * 4095
        exact = cp932("cvdx:" + long_path)[:4095]
        # (name, request bytes, calls it makes)
        cases = [
            ("backslashes", uri(self.japanese), shown("taro\\受信箱\\表", self.japanese)),
            ("forward slashes", uri(self.software.replace("\\", "/")), shown("taro\\ソフト\\能力", self.software)),
            ("parentheses that pair up", uri(self.archive), shown("taro\\Archive (2009)", self.archive)),
            ("lowercase account", uri(self.inbox.replace("Account", "account")), []),
            ("no Account", b"cvdx:Z:\\files\\report.txt:1", []),
            ("no colon", cp932("Account\\taro\\inbox"), []),
            ("last colon before Account", uri(base + "Account\\taro\\inbox"), []),
            ("drive letter without prefix", cp932(self.inbox),
             shown("taro\\inbox", self.inbox[self.inbox.index(":") + 1:])),
            ("line end kept", uri(self.inbox + "\r\n"), shown("taro\\inbox", self.inbox + "\r\n")),
            ("zero byte ends the request", uri(self.inbox) + b"\0);Quit();", shown("taro\\inbox", self.inbox)),
            ("second statement", uri(base + "Account\\taro);Quit();(x:1"), []),
            ("semicolon", uri(base + "Account\\taro;Quit():1"), []),
            ("quote", uri(base + 'Account\\taro")Quit(":1'), []),
            ("line feed", uri(base + "Account\\taro\nQuit():1"), []),
            ("open parenthesis left open", uri(base + "Account\\Archive (2009:1"), []),
            ("folder path of 243 bytes", uri(base + "Account\\" + "f" * 243 + ":1"), []),
            ("request of 4096 bytes", cp932("cvdx:" + long_path)[:4096], []),
            ("request of 4095 bytes", exact, shown("taro\\inbox", exact[5:].decode("cp932"))),
            ("served after all of them", uri(self.archive), shown("taro\\Archive (2009)", self.archive)),
        ]
        with wine_trace(["sync", "msg"]), \
                standin.start_standin(self.store, plugins=self.plugins("PollingTime=50\n")) as client:
            client.wait_ready()
            sent = pipe_client(*send_steps(request for _, request, _ in cases))
            utf8 = pickwire_send("cvdx:" + self.japanese)
            raw = pickwire_send("--cp932", "cvdx:" + self.software)
            with all_served():
                journal = client.stop()

        self.assertEqual(sent, ["sent"] * len(cases))
        self.assertEqual((utf8.returncode, raw.returncode), (0, 0), (utf8.stderr, raw.stderr))
        self.assertClean(journal)
        expected = [call for _, _, calls in cases for call in calls]
        expected += shown("taro\\受信箱\\表", self.japanese) + shown("taro\\ソフト\\能力", self.software)
        self.assertEqual(pickwire_calls(journal), expected)
        # The messages that exist were selected, each time the stand-in's folder was the one opened.
        self.assertEqual([call.result for call in journal.calls("EDA_SelectMessage")],
                         ["1", "1", "1", "0", "0", "1", "0", "1", "1", "1"])
        self.assertIn([self.japanese], journal.lines("selected-message"))
        self.assertEqual(journal.final_message, self.software)

        modes = pipe_modes(journal.stderr)
        self.assertEqual(len(modes), 1 + len(cases) + 2, "one instance at start and one after each client")
        self.assertTrue(all(mode & PIPE_REJECT_REMOTE_CLIENTS for mode in modes), modes)
        self.assertEqual(timer_periods(journal.stderr)[0], 50, "PollingTime=50")


class ClientTiming(PickwireCase):
    def test_late_silent_split_and_concurrent_clients(self):
        late = cp932("cvdx:" + self.inbox)
        silent = cp932("cvdx:" + self.archive)
        split_at = len(cp932("cvdx:" + self.japanese)) - len(".eml")
        split = cp932("cvdx:" + self.japanese)
        with wine_trace(["msg"]), standin.start_standin(self.store, plugins=self.plugins("# no setting\n")) as client:
            client.wait_ready()
            # Connects, then writes 400 ms later: within the second the server gives it.
            late_steps = pipe_client("connect", "sleep:400", f"hex:{late.hex()}", "close")
            # Connects and writes nothing for 3 s: dropped; its write afterwards finds the pipe gone.
            silent_steps = pipe_client("connect", "sleep:3000", f"hex:{silent.hex()}", "close")
            # Writes its request in two writes, 1.5 s apart: only the first part is read.
            split_steps = pipe_client("connect", f"hex:{split[:split_at].hex()}", "sleep:1500",
                                      f"hex:{split[split_at:].hex()}", "close")
            # Two clients at once: the second waits while the first is served, then is served too.
            first = winenv.popen(winenv.binary("pickwire-send.exe"), ["cvdx:" + self.software],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            second = winenv.popen(winenv.binary("pickwire-send.exe"), ["cvdx:" + self.archive],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.assertEqual((first.wait(60), second.wait(60)), (0, 0))
            with all_served():
                journal = client.stop()

        self.assertEqual(late_steps, ["connected", "slept", f"wrote {len(late)}", "closed"])
        self.assertEqual(silent_steps[:2], ["connected", "slept"])
        self.assertRegex(silent_steps[2], r"^write-failed \d+$")
        self.assertEqual(split_steps[:3], ["connected", f"wrote {split_at}", "slept"])
        self.assertRegex(split_steps[3], r"^write-failed \d+$")
        self.assertClean(journal)
        calls = pickwire_calls(journal)
        self.assertEqual(len(calls), 12, calls)
        self.assertEqual(calls[:6], shown("taro\\inbox", self.inbox)
                         + shown("taro\\受信箱\\表", self.japanese[:-len(".eml")]))
        concurrent = [calls[6:9], calls[9:12]]
        self.assertCountEqual(concurrent, [shown("taro\\ソフト\\能力", self.software),
                                           shown("taro\\Archive (2009)", self.archive)])
        self.assertEqual(timer_periods(journal.stderr)[0], 500, "PollingTime absent: 500 ms")


class Lifecycle(PickwireCase):
    def test_second_information_event_keeps_one_server(self):
        with wine_trace(["sync", "msg"]), standin.start_standin(
                self.store, plugins=self.plugins("PollingTime=1000\n"),
                script=[f"event {PICKWIRE} 1000 0"]) as client:
            client.wait_ready()
            self.assertEqual(pickwire_send("cvdx:" + self.inbox).returncode, 0)
            with all_served():
                journal = client.stop()  # unloads Pickwire while it listens again

        self.assertClean(journal)
        self.assertEqual(len([f for f in journal.lines("event") if f[1] == "1000"]), 2)
        names = [bytes.fromhex(f[2])[4:13] for f in journal.lines("info") if f[:2] == [PICKWIRE, "0"]]
        self.assertEqual(names, [b"Pickwire\0"] * 2, "the record is filled both times")
        self.assertEqual(pickwire_calls(journal), shown("taro\\inbox", self.inbox))
        # One instance and one arming of the timer at start, then one of each after the request.
        self.assertEqual(len(pipe_modes(journal.stderr)), 2)
        self.assertEqual(timer_periods(journal.stderr).count(1000), 2)
        self.assertEqual(journal.lines("unload"), [[PICKWIRE]])

    def test_unload_while_listening_and_while_a_read_waits(self):
        for silent_client in (False, True):
            with self.subTest(silent_client=silent_client), \
                    standin.start_standin(self.store, plugins=self.plugins()) as client:
                client.wait_ready()
                if silent_client:
                    # Connected and noticed within 50 ms; the server would wait a second for its request.
                    silent = winenv.popen(winenv.binary("pipe-client.exe"), ["connect", "sleep:3000", "hex:41"],
                                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
                    self.assertEqual(silent.stdout.readline().strip(), b"connected")
                    time.sleep(0.3)
                started = time.monotonic()
                journal = client.stop()
                stopped_in = time.monotonic() - started
                if silent_client:
                    output = silent.communicate(timeout=60)[0].decode().splitlines()
                    self.assertEqual(output[0], "slept")
                    self.assertRegex(output[1], r"^write-failed \d+$")
                self.assertClean(journal)
                self.assertEqual(journal.lines("unload"), [[PICKWIRE]])
                self.assertEqual(pickwire_calls(journal), [])
                self.assertLess(stopped_in, 30)


class PickwireSend(unittest.TestCase):
    def test_refuses_requests_that_pickwire_refuses(self):
        cases = [
            ("cvdx:Z:\\mail\\account\\taro\\inbox:1.eml", "Account"),
            ("Account\\taro\\inbox", "':'"),
            ("cvdx:Z:\\mail\\Account\\taro\\inbox", "no ':' follows the folder path"),
            ("cvdx:Z:\\m\\Account\\taro);Quit();(x:1", "parentheses"),
            ("cvdx:Z:\\m\\Account\\taro;x:1", "';'"),
            ("cvdx:Z:\\m\\Account\\" + "f" * 243 + ":1", "242 bytes"),
            ("cvdx:Z:\\m\\Account\\t:" + "m" * 4096, "4096 bytes"),
            ("cvdx:Z:\\m\\Account\\taro\\😀:1", "code page 932"),
        ]
        for request, reason in cases:
            with self.subTest(request=request[:40]):
                result = pickwire_send(request)
                self.assertEqual(result.returncode, 2)
                self.assertIn(b"request refused", result.stderr)
                self.assertIn(reason.encode(), result.stderr)

    def test_says_so_when_pickwire_is_not_listening(self):
        started = time.monotonic()
        result = pickwire_send("--wait", "700", "cvdx:Z:\\m\\Account\\taro\\inbox:1.eml")
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"not listening", result.stderr)
        self.assertLess(time.monotonic() - started, 30)


class PipeServerAlone(unittest.TestCase):
    """The pipe server without the plug-in, driven by pickwire-pipe-probe with a 50 ms period."""

    def probe(self, scenario):
        name = f"\\\\.\\pipe\\PickwireProbe-{scenario}-{os.getpid()}"
        result = winenv.run(winenv.binary("pickwire-pipe-probe.exe"), [scenario, name], timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode().splitlines()

    def test_client_that_connects_before_the_connect_starts(self):
        early = b"cvdx:Z:\\m\\Account\\taro\\early:1.eml".hex().upper()
        later = b"cvdx:Z:\\m\\Account\\taro\\later:2.eml".hex().upper()
        for scenario in ("early-client", "early-client-gone"):
            with self.subTest(scenario=scenario):
                self.assertEqual(self.probe(scenario), [f"notified {early}", f"notified {later}"])

    def test_teardown_while_a_read_waits(self):
        lines = self.probe("destroy-while-reading")
        self.assertRegex(lines[0], r"^destroyed \d+$")
        self.assertLess(int(lines[0].split()[1]), 1000)
        self.assertRegex(lines[1], r"^late-write failed \d+$")
        self.assertEqual(lines[2], "memory intact")

    def test_failed_wait_shows_one_box_and_stops_polling(self):
        self.assertEqual(self.probe("failed-wait"), ["boxes 1 ERROR"])


if __name__ == "__main__":
    unittest.main()
