#!/usr/bin/python
# -*- coding: utf-8 -*-
# The module runs the installed dialkit quietly, with /report:- so that what it did comes back as
# JSON, and with /check in check mode. Everything it returns comes from that report.
# MIT License (see LICENSE in the DIALKIT repository).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: entry
short_description: Dial-up and VPN phone-book entries, stored by DIALKIT
version_added: "1.1.0"
description:
  - Stores the dial-up entry described in section C([RasEntry]) of an entry description file, and
    a VPN entry described in section C([VPNEntry]), with the installed C(dialkit) tool, or
    removes them.
  - An entry is written only when what is stored under its name differs from what the file
    describes, so the task reports C(changed) only when it changed something.
  - On Linux the tool stores the entries as pppd peers (C(/etc/ppp/peers/NAME)), which
    C(pon NAME) dials.
  - Needs C(dialkit) 1.1.0 or later. An older tool would take C(/check) for a word it does not
    know and change the entries in check mode, so the module refuses it.
author:
  - DIALKIT developers
options:
  connect:
    description:
      - The name of the dial-up entry (the tool's C(CONNECT)).
    type: str
    required: true
  vpn:
    description:
      - The name of the VPN entry (the tool's C(VPN)). Without it no VPN entry is stored or
        removed.
    type: str
  init:
    description:
      - The entry description file on the managed machine, as an absolute path (the tool's
        C(INIT)). Required for I(state=present).
    type: path
  device:
    description:
      - The device for the dial-up entry where several are installed and none is remembered,
        a device name, or a device type such as C(modem) (the tool's C(/device)).
    type: str
  state:
    description:
      - C(present) stores the entries; C(absent) removes them. An entry that is not there counts
        as removed.
    type: str
    choices: [present, absent]
    default: present
  overwrite:
    description:
      - Replace an existing entry that differs from the file. With C(false) such an entry is kept,
        and the module warns.
    type: bool
    default: true
  secrets:
    description:
      - The entries' credentials, by entry name (the I(connect) or I(vpn) name), each with any of
        C(user_name), C(domain), C(password) and C(pre_shared_key).
      - Handed to the tool on its standard input as a secrets file (C(/secrets:-)), never on its
        command line, where every user of the machine could read them; never logged.
      - A password is set when the entry is created or changed, or on every run with
        I(credentials=always); the report says C(set) or C(kept) for each entry.
    type: dict
  credentials:
    description:
      - C(changed) sets the credentials only with an entry stored; C(always) on every run, which
        then reports a change, since a stored password cannot be read back to compare.
    type: str
    choices: [changed, always]
    default: changed
  executable:
    description:
      - The C(dialkit) program, a name looked for on the path or a path.
    type: str
    default: dialkit
notes:
  - Supports check mode (the tool's C(/check)) and diff mode. A refusal that only storing or
    removing can reveal (the service's own checks, missing rights) is not foreseen in check mode.
  - Names and values cannot hold a double quote, which the tool's command line cannot carry.
  - The report is described in C(docs/run-report.md) of the tool's documentation
    (C(/usr/share/doc/dialkit/docs/run-report.md) where the .deb is installed).
  - Windows hosts have no module here; run C(dialkit.exe) with C(/quiet /report:FILE) through
    C(ansible.windows.win_command) (see the collection's README).
"""

EXAMPLES = r"""
- name: The ISP's dial-up entry and its VPN, on the one modem
  dialkit.dialup.entry:
    connect: My ISP
    vpn: My VPN
    init: /etc/dialkit/isp.ini
    device: modem

- name: A VPN with its user's password and the L2TP pre-shared key, from the vault
  dialkit.dialup.entry:
    connect: My ISP
    vpn: Office
    init: /etc/dialkit/isp.ini
    secrets:
      Office:
        user_name: jo
        password: "{{ vault_office_password }}"
        pre_shared_key: "{{ vault_office_psk }}"

- name: Keep an entry that a person changed
  dialkit.dialup.entry:
    connect: My ISP
    init: /etc/dialkit/isp.ini
    overwrite: false

- name: Remove both entries
  dialkit.dialup.entry:
    connect: My ISP
    vpn: My VPN
    state: absent
"""

RETURN = r"""
changed:
  description: Whether an entry was written or removed (in check mode, would be).
  returned: always
  type: bool
status:
  description: The tool's status, 0 when every entry is as asked; 4 when an entry was kept.
  returned: always
  type: int
  sample: 0
diff:
  description: For each entry, the keys of the entry description file before and after, as
    C(KEY=VALUE) lines.
  returned: always
  type: list
  elements: dict
  sample:
    - before_header: "My ISP (stored)"
      after_header: "My ISP (/etc/dialkit/isp.ini)"
      before: "LocalPhoneNumber=5550100\n"
      after: "LocalPhoneNumber=5550187\n"
report:
  description: The tool's run report (schema 1, see docs/run-report.md), with one entry for each
    name given, its result (created, updated, unchanged, kept, removed, absent, not stored,
    failed), device and changes, and C(credentials) (set, kept, refused) for an entry that
    I(secrets) names.
  returned: when the tool ran
  type: dict
"""

import json
import os
import re

from ansible.module_utils.basic import AnsibleModule

MINIMUM_VERSION = (1, 1, 0)


def tool_version(module, executable):
    """The tool's version as a tuple; fails the module when it cannot be read or is too old."""
    rc, out, err = module.run_command([executable, "--version"])
    found = re.match(r"dialkit (\d+)\.(\d+)\.(\d+)", out or "")
    if rc != 0 or not found:
        module.fail_json(msg="%s --version did not answer as dialkit does: %s" % (executable, (err or out).strip()))
    version = tuple(int(part) for part in found.groups())
    if version < MINIMUM_VERSION:
        module.fail_json(
            msg="dialkit %s is older than %s, which knows /check and /report; "
            "it would take /check for a word it does not know and store the entries for real"
            % (".".join(map(str, version)), ".".join(map(str, MINIMUM_VERSION))))
    return version


def command_line(module, executable):
    """The tool's arguments: each one word, which the tool quotes again where it holds a blank."""
    params = module.params
    for name in ("connect", "vpn", "init", "device"):
        if params[name] is not None and '"' in params[name]:
            module.fail_json(msg="%s cannot hold a double quote: %s" % (name, params[name]))
    argv = [executable]
    if params["state"] == "present":
        if not os.path.isabs(params["init"]):
            module.fail_json(msg="init must be an absolute path on the managed machine: %s" % params["init"])
        argv.append("INIT=" + params["init"])
    argv.append("CONNECT=" + params["connect"])
    if params["vpn"]:
        argv.append("VPN=" + params["vpn"])
    if params["state"] == "absent":
        argv.append("/remove")
    else:
        if params["overwrite"]:
            argv.append("/overwrite")
        if params["device"]:
            argv.append("/device:" + params["device"])
        if params["secrets"]:
            argv.append("/secrets:-")
            if params["credentials"] == "always":
                argv.append("/credentials:always")
    argv += ["/quiet", "/report:-"]
    if module.check_mode:
        argv.append("/check")
    return argv


SECRET_KEYS = (("user_name", "UserName"), ("domain", "Domain"), ("password", "Password"),
               ("pre_shared_key", "PreSharedKey"))


def secrets_text(module):
    """The secrets file for the tool's standard input: a section per entry, each value in quotes,
    which the tool takes off. No message here ever quotes a value."""
    text = ""
    for name, values in (module.params["secrets"] or {}).items():
        if not isinstance(values, dict) or set(values) - set(k for k, _ in SECRET_KEYS):
            module.fail_json(msg="secrets for %s take only user_name, domain, password and "
                             "pre_shared_key" % name)
        text += "[%s]\n" % name
        for key, tool_key in SECRET_KEYS:
            value = values.get(key)
            if value is None:
                continue
            value = str(value)
            if "\n" in value or "\r" in value:
                module.fail_json(msg="the %s for %s cannot hold a line break" % (key, name))
            text += '%s="%s"\n' % (tool_key, value)
    return text


def entry_diff(entry, init):
    """Ansible's diff form of one entry of the report: the changed keys before and after."""
    before = "".join("%s=%s\n" % (c["key"], c["before"]) for c in entry["changes"] if c["before"] is not None)
    after = "".join("%s=%s\n" % (c["key"], c["after"]) for c in entry["changes"] if c["after"] is not None)
    return {
        "before_header": "%s (stored)" % entry["name"],
        "after_header": "%s (%s)" % (entry["name"], init or "removed"),
        "before": before,
        "after": after,
    }


def main():
    module = AnsibleModule(
        dict(
            connect=dict(type="str", required=True),
            vpn=dict(type="str"),
            init=dict(type="path"),
            device=dict(type="str"),
            state=dict(type="str", choices=["present", "absent"], default="present"),
            overwrite=dict(type="bool", default=True),
            executable=dict(type="str", default="dialkit"),
            secrets=dict(type="dict", no_log=True),
            credentials=dict(type="str", choices=["changed", "always"], default="changed"),
        ),
        required_if=[("state", "present", ["init"])],
        supports_check_mode=True,
    )
    executable = module.params["executable"]
    if os.sep not in executable:
        executable = module.get_bin_path(executable, required=True)
    tool_version(module, executable)

    secrets = secrets_text(module) if module.params["secrets"] and module.params["state"] == "present" else None
    rc, out, err = module.run_command(command_line(module, executable), data=secrets)
    try:
        report = json.loads(out)
    except ValueError:
        module.fail_json(msg="dialkit wrote no report (status %d): %s" % (rc, err.strip()), status=rc)

    status = report["status"]
    init = module.params["init"] if module.params["state"] == "present" else None
    result = dict(
        changed=report["changed"],
        status=status,
        diff=[entry_diff(entry, init) for entry in report["entries"]],
        report=report,
    )
    for entry in report["entries"]:
        if entry["result"] == "kept":
            module.warn("%s exists and differs from %s; it was kept (overwrite is false)" % (entry["name"], init))
    # 4 is an entry kept, which overwrite=false asks for; every other status fell short.
    if status not in (0, 4):
        messages = report["messages"] + [e["message"] for e in report["entries"] if e["result"] in ("not stored", "failed")]
        module.fail_json(msg="dialkit ended with status %d: %s" % (status, "; ".join(messages)), **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
