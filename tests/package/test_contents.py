# What this build's Windows Installer package and zip hold, read without installing them: platform
# and folder, files and their versions, what Apps & Features shows, the saver option, and the codes
# that make an upgrade replace an older version and either build replace the other.
import os
import subprocess
import zipfile
from pathlib import Path

import pytest

from packages import arch, build_package, built_package, properties, summary, table

VERSION = os.environ.get("VITRELUX_VERSION", "")
OLDER = "0.9.0"
UPGRADE_CODE = "{0063392D-5C1B-49AB-8BB0-6C9A82C0795A}"
# Per build: summary platform, the folder Windows lists that build's screen savers in, and the
# component attribute that marks 64-bit components.
PLATFORMS = {"x64": ("x64", "System64Folder", 256), "x86": ("Intel", "SystemFolder", 0)}
PROGRAMS = ("Vitrelux.scr", "Vitrelux.dll")
VERSION_MIN_INCLUSIVE, VERSION_MAX_INCLUSIVE = 256, 512
# Custom action types: run when an install rolls back, from the install script (deferred), and
# without impersonation.
ROLLBACK, IN_SCRIPT, NO_IMPERSONATE = 0x100, 0x400, 0x800


@pytest.fixture(scope="module")
def package():
    return built_package()


@pytest.fixture(scope="module")
def dist():
    return Path(os.environ["VITRELUX_DIST"])


def test_installs_both_programs_into_the_builds_system_folder(package):
    platform, folder, attributes = PLATFORMS[arch()]
    assert summary(package)["Template"].split(";")[0] == platform
    components = {row["Component"]: row for row in table(package, "Component")}
    files = {row["FileName"]: row for row in table(package, "File")}
    assert sorted(files) == sorted(PROGRAMS)
    for file in files.values():
        component = components[file["Component_"]]
        assert component["Directory_"] == folder
        assert int(component["Attributes"]) & 256 == attributes
    assert properties(package)["ALLUSERS"] == "1", "not per machine"


def test_files_carry_the_projects_version_and_the_programs_bytes(package, dist):
    for row in table(package, "File"):
        assert row["Version"] == f"{VERSION}.0", row["FileName"]
        assert int(row["FileSize"]) == (dist / row["FileName"]).stat().st_size, row["FileName"]
    assert table(package, "MsiFileHash") == [], "a versioned file must have no hash"
    with zipfile.ZipFile(built_package("zip")) as archive:
        assert sorted(archive.namelist()) == sorted([*PROGRAMS, "INSTALL.txt"])
        for name in PROGRAMS:
            assert archive.read(name) == (dist / name).read_bytes(), name


def test_apps_and_features_show_name_version_publisher_and_icon_in_one_language(package):
    shown = properties(package)
    assert (shown["ProductName"], shown["ProductVersion"], shown["Manufacturer"]) == (
        "Vitrelux", VERSION, "Vitrelux")
    assert shown["ARPPRODUCTICON"] in [row["Name"] for row in table(package, "Icon")]
    assert "ARPURLINFOABOUT" not in shown, "an address with no page behind it"
    assert summary(package)["Template"].split(";")[1] == shown["ProductLanguage"]


def test_the_saver_option_is_off_unless_asked_and_reaches_an_elevated_install(package):
    shown = properties(package)
    assert shown.get("SETSAVER") != "1"
    assert "SETSAVER" in shown["SecureCustomProperties"].split(";")


def test_one_upgrade_code_for_every_version_and_a_new_product_code_each_build(package, dist, tmp_path):
    older = build_package(OLDER, dist, tmp_path)
    again = build_package(VERSION, dist, tmp_path / "again")
    codes = [properties(path) for path in (package, older, again)]
    assert {shown["UpgradeCode"] for shown in codes} == {UPGRADE_CODE}
    assert len({shown["ProductCode"] for shown in codes}) == 3
    assert properties(older)["ProductVersion"] == OLDER
    # An older version and this one (another build, or the other word size) are removed; a newer
    # one is only detected, and stops the install.
    upgrades = {row["ActionProperty"]: row for row in table(package, "Upgrade")}
    assert upgrades["WIX_UPGRADE_DETECTED"]["VersionMax"] == VERSION
    assert int(upgrades["WIX_UPGRADE_DETECTED"]["Attributes"]) & VERSION_MAX_INCLUSIVE
    assert upgrades["WIX_DOWNGRADE_DETECTED"]["VersionMin"] == VERSION
    assert not int(upgrades["WIX_DOWNGRADE_DETECTED"]["Attributes"]) & VERSION_MIN_INCLUSIVE
    conditions = [row["Condition"] for row in table(package, "LaunchCondition")]
    assert "NOT WIX_DOWNGRADE_DETECTED" in conditions


def test_actions_pass_what_windows_installer_checks_and_windows_resolves(package):
    """What Wine does not show: the order validation asks for (ICE63, ICE68), no action run as the
    system, and on removal a [#file] resolves to nothing on Windows, since the file's component is
    being removed."""
    sequence = sorted(table(package, "InstallExecuteSequence"), key=lambda row: int(row["Sequence"]))
    order = [row["Action"] for row in sequence]
    assert order[order.index("InstallInitialize") + 1] == "RemoveExistingProducts"
    conditions = {row["Action"]: row["Condition"] for row in sequence}
    for action in table(package, "CustomAction"):
        kind = int(action["Type"])
        # Nothing runs as the system: each action as the user who installs or removes.
        assert not kind & NO_IMPERSONATE, f"{action['Action']} runs as the system"
        if conditions.get(action["Action"]) != 'NOT REMOVE~="ALL"':
            assert "[#" not in action["Target"], f"{action['Action']} runs on removal with {action['Target']}"


def test_the_saver_is_matched_in_both_builds_short_forms_and_put_back_on_rollback(package):
    """Windows stores the saver short: the short paths are found while an older build's files are
    still there (under Wine an 8.3 name is its own short path, so no install can show this)."""
    order = [row["Action"] for row in sorted(table(package, "InstallExecuteSequence"),
                                             key=lambda row: int(row["Sequence"]))]
    actions = {row["Action"]: row for row in table(package, "CustomAction")}
    assert order.index("FindShortSavers") < order.index("SetSaverData") < order.index("RemoveExistingProducts")
    assert "[SHORTSAVER32];[SHORTSAVER64]" in actions["SetSaverData"]["Target"]
    assert int(actions["RestoreSaver"]["Type"]) & (ROLLBACK | IN_SCRIPT) == ROLLBACK | IN_SCRIPT
    assert order.index("RestoreSaver") < order.index("SetSaver")
    assert actions["RestoreSaverData"]["Target"] == "[ACTIVEBEFORE];[SAVERBEFORE]"


def run_tool(*args):
    return subprocess.run([str(arg) for arg in args], capture_output=True, text=True, timeout=60)


def test_with_a_certificate_the_programs_the_actions_and_the_package_are_signed(package, dist, tmp_path):
    key, certificate, pfx = tmp_path / "key.pem", tmp_path / "certificate.pem", tmp_path / "signing.pfx"
    assert run_tool("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", certificate,
                    "-days", "2", "-subj", "/CN=Vitrelux test signer",
                    "-addext", "extendedKeyUsage=codeSigning").returncode == 0
    assert run_tool("openssl", "pkcs12", "-export", "-inkey", key, "-in", certificate, "-out", pfx,
                    "-passout", "pass:throwaway").returncode == 0
    signed = build_package(VERSION, dist, tmp_path / "signed", pfx, "throwaway")
    inside = tmp_path / "inside"
    inside.mkdir()
    run_tool("msiextract", "-C", inside, signed).check_returncode()
    actions = inside / "actions.dll"
    actions.write_bytes(subprocess.run(["msiinfo", "extract", str(signed), "Binary.SetupActions"],
                                       capture_output=True, check=True, timeout=60).stdout)

    def verified(path):
        return run_tool("osslsigncode", "verify", "-CAfile", certificate, "-in", path).returncode == 0
    for path in (signed, inside / "Vitrelux.scr", inside / "Vitrelux.dll", actions):
        assert verified(path), f"{path.name} carries no signature the certificate verifies"
    assert not verified(package), "the package built without a certificate is signed"


# Stands in for osslsigncode: notes its arguments and the password file's place and permissions,
# then signs by copying, or fails when asked to.
FAKE_SIGNER = """#!/bin/sh
while [ $# -gt 0 ]; do
  case $1 in
    -readpass) echo "password $2 $(stat -c %a "$2") $(stat -c %a "$(dirname "$2")")" >>"$SIGNER_LOG" ;;
    -ts) echo "timestamp $2" >>"$SIGNER_LOG" ;;
    -in) input=$2 ;;
    -out) output=$2 ;;
  esac
  shift
done
[ -z "$SIGNER_FAILS" ] && cp "$input" "$output"
"""


@pytest.mark.parametrize("fails", [False, True], ids=["signed", "signing-fails"])
def test_the_password_is_private_while_it_is_read_and_gone_after(fails, dist, tmp_path):
    tools = tmp_path / "tools"
    tools.mkdir()
    (tools / "osslsigncode").write_text(FAKE_SIGNER)
    (tools / "osslsigncode").chmod(0o755)
    log = tmp_path / "signer.log"
    env = {"PATH": f"{tools}:{os.environ['PATH']}", "SIGNER_LOG": str(log), "SIGNER_FAILS": "1" if fails else "",
           "TMPDIR": str(tmp_path)}
    server = "http://127.0.0.1:9/timestamp"
    package = build_package(VERSION, dist, tmp_path / "out", tmp_path / "unused.pfx", "secret", server, env,
                            check=not fails)
    assert package.exists() != fails
    lines = [line.split() for line in log.read_text().splitlines()]
    passwords = [line for line in lines if line[0] == "password"]
    assert passwords, "the signer was never called"
    for _, path, file_mode, folder_mode in passwords:
        assert int(file_mode, 8) & 0o077 == 0 and int(folder_mode, 8) & 0o077 == 0, (file_mode, folder_mode)
        assert not Path(path).exists() and not Path(path).parent.exists(), "the password is left"
    assert ["timestamp", server] in lines

