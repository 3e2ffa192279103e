# Reading Windows Installer packages with msitools, and building one of another version with the
# same script as the msi target: what the package tests and the install tests share.
import os
import subprocess
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
ARCHES = {"4": "x86", "8": "x64"}


def arch():
    return ARCHES[os.environ["VITRELUX_BITS"]]


def version():
    """This build's version, the project's."""
    return os.environ["VITRELUX_VERSION"]


def package_name(version, kind="msi"):
    return f"Vitrelux-{version}-{arch()}.{kind}"


def built_package(kind="msi"):
    """This build's package as the msi target wrote it."""
    path = Path(os.environ["VITRELUX_PACKAGES"]) / package_name(version(), kind)
    assert path.is_file(), f"no {path}: build the msi target first"
    return path


def build_package(version, dist, out, certificate=None, password=None, timestamp=None, env=None, check=True):
    """Builds the packages of this build's programs in dist as the given version into out, signed
    with the certificate (a PFX file) if one is given, countersigned by the timestamp server if one
    is given; env adds to the environment."""
    signing = [f"-DSIGN_PFX={certificate}"] if certificate else []
    signing += [f"-DSIGN_TIMESTAMP={timestamp}"] if timestamp else []
    subprocess.run(["cmake", f"-DARCH={arch()}", f"-DVERSION={version}", f"-DDIST={dist}",
                    f"-DACTIONS={os.environ['VITRELUX_ACTIONS']}", f"-DOUT={out}", *signing,
                    "-P", str(ROOT / "cmake" / "package.cmake")],
                   check=check, capture_output=True, timeout=120,
                   env=dict(os.environ, VITRELUX_SIGN_PASSWORD=password or "", **(env or {})))
    return Path(out) / package_name(version)


def table(package, name):
    """The rows of a table as dictionaries by column name."""
    text = subprocess.run(["msiinfo", "export", str(package), name], check=True, capture_output=True,
                          text=True, timeout=30).stdout
    lines = text.splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:]]


def properties(package):
    return {row["Property"]: row["Value"] for row in table(package, "Property")}


def summary(package):
    text = subprocess.run(["msiinfo", "suminfo", str(package)], check=True, capture_output=True,
                          text=True, timeout=30).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)
