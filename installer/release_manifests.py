#!/usr/bin/env python3
"""The package managers' manifests of a release, written by tools/x-package:

  release_manifests.py RELEASE-FOLDER VERSION VERSION-TEXT SETTINGS

RELEASE-FOLDER holds the packages (Varnic-VERSION-win32-setup.exe, ...-win64.zip, ...);
VERSION is the version in file names (1.9-BETA5), VERSION-TEXT the one people read
("1.9 BETA5"); SETTINGS is installer/release.conf. Writes, with the packages' SHA-256:
  winget/manifests/v/Varnic/Varnic/VERSION/  the winget manifest set (schema 1.6.0) for the
      per-user installers: version, installer and default-locale (zh-CN) files
  scoop/varnic.json  the Scoop manifest for the portable ZIPs
Both name the packages at the settings' download_base.
"""
import datetime
import hashlib
import json
import os
import pathlib
import sys

IDENTIFIER = "Varnic.Varnic"
MANIFEST_VERSION = "1.6.0"
# What Scoop must carry from one version's folder to the next: the user's settings, rules, update
# server and pictures. Scoop's own "persist" would link them, and the programs replace their files
# by moving a new one over them, which cuts such a link; so the uninstaller (also run before an
# update) copies them to the persist folder, and the next installation copies them back.
USER_FILES = ("Setting.ini", "AllRule.ini", "SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini",
              "Upsetting.ini", "back.jpg", "back.gif")


def text(value):
    """A YAML string that reads back as it is, whatever its characters (JSON is YAML)."""
    return json.dumps(value, ensure_ascii=False)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def copy_user_files(source, target):
    names = ", ".join(f"'{name}'" for name in USER_FILES)
    return [f"foreach ($name in @({names})) {{",
            f"    if (Test-Path -LiteralPath \"{source}\\$name\") {{ Copy-Item -LiteralPath \"{source}\\$name\" "
            f"-Destination \"{target}\" -Force }}",
            "}"]


def yaml_file(path, schema, fields):
    path.parent.mkdir(parents=True, exist_ok=True)
    lines = [f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{schema}.{MANIFEST_VERSION}.schema.json",
             "# Made by tools/x-package.", ""] + fields + [f"ManifestType: {schema}",
                                                          f"ManifestVersion: {MANIFEST_VERSION}"]
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def main(folder, version, version_text, settings_path):
    folder = pathlib.Path(folder)
    settings = dict(line.split("=", 1) for line in pathlib.Path(settings_path).read_text(encoding="utf-8").splitlines()
                    if line and not line.startswith("#"))
    base = settings["download_base"].replace("{version}", version).rstrip("/")
    publisher = settings["publisher"]
    released = datetime.datetime.fromtimestamp(int(os.environ["SOURCE_DATE_EPOCH"]), datetime.timezone.utc)
    head = [f"PackageIdentifier: {IDENTIFIER}", f"PackageVersion: {version}"]

    winget = folder / "winget" / "manifests" / "v" / "Varnic" / "Varnic" / version
    yaml_file(winget / f"{IDENTIFIER}.yaml", "version", head + ["DefaultLocale: zh-CN"])
    installers = []
    for arch, winget_arch in (("win32", "x86"), ("win64", "x64")):
        setup = f"Varnic-{version}-{arch}-setup.exe"
        installers += [f"- Architecture: {winget_arch}", f"  InstallerUrl: {text(base + '/' + setup)}",
                       f"  InstallerSha256: {sha256(folder / setup).upper()}"]
    yaml_file(winget / f"{IDENTIFIER}.installer.yaml", "installer", head + [
        "InstallerLocale: zh-CN", "InstallerType: nullsoft", "Scope: user",
        "InstallModes:", "- interactive", "- silent", "- silentWithProgress", "UpgradeBehavior: install",
        f"ReleaseDate: {released:%Y-%m-%d}",
        "AppsAndFeaturesEntries:", f"- DisplayName: {text('Varnic ' + version_text)}", f"  Publisher: {text(publisher)}",
        f"  DisplayVersion: {text(version_text)}", "  ProductCode: Varnic", "Installers:"] + installers)
    yaml_file(winget / f"{IDENTIFIER}.locale.zh-CN.yaml", "defaultLocale", head + [
        "PackageLocale: zh-CN", f"Publisher: {text(publisher)}", "PackageName: Varnic",
        f"PackageUrl: {text(settings['homepage'])}", f"License: {text(settings['license'])}",
        f"ShortDescription: {text(settings['description'])}", "Moniker: varnic"])

    scoop = {
        "version": version,
        "description": settings["description"],
        "homepage": settings["homepage"],
        "license": settings["license"],
        "architecture": {
            bits: {"url": f"{base}/Varnic-{version}-{arch}.zip", "hash": sha256(folder / f"Varnic-{version}-{arch}.zip")}
            for bits, arch in (("64bit", "win64"), ("32bit", "win32"))},
        "extract_dir": "Varnic",
        "pre_install": ["$keep = persistdir $app $global"] + copy_user_files("$keep", "$dir"),
        "bin": ["kelvo.exe", "empty.exe"],
        "shortcuts": [["kelvo.exe", "Varnic"]],
        "uninstaller": {"script": ["$keep = ensure (persistdir $app $global)"] + copy_user_files("$dir", "$keep")},
    }
    (folder / "scoop").mkdir(exist_ok=True)
    (folder / "scoop" / "varnic.json").write_text(json.dumps(scoop, ensure_ascii=False, indent=4) + "\n",
                                                  encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
