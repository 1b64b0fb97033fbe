#!/usr/bin/env python3
"""Installs the build into a scratch root as the package does, checks what
lands where (program, tools, menu entry, icons), then builds the .deb with
CPack and checks its contents and the dependencies it declares.

    package_test.py BUILD_FOLDER SOURCE_FOLDER
"""

import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*args, cwd=None):
    result = subprocess.run(args, cwd=cwd, capture_output=True, text=True)
    check(result.returncode == 0, f"{' '.join(args)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def tools(source):
    folder = os.path.join(source, "tools")
    return sorted(d for d in os.listdir(folder) if os.path.exists(os.path.join(folder, d, "CMakeLists.txt")))


def check_installed_tree(usr, source):
    for program in ["mensora"] + ["mensora-" + t for t in tools(source)]:
        path = os.path.join(usr, "bin", program)
        check(os.access(path, os.X_OK), f"/usr/bin/{program} is not installed as a program")
    # An installed tool names itself as installed in its usage text.
    usage = subprocess.run([os.path.join(usr, "bin", "mensora-mkarchive"), "--help"],
                           capture_output=True, text=True, timeout=30)
    check(usage.stdout.startswith("uso: mensora-mkarchive "), f"mensora-mkarchive --help: {usage.stdout!r}")

    desktop = os.path.join(usr, "share", "applications", "mensora.desktop")
    check(os.path.exists(desktop), "no menu entry in /usr/share/applications")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop, encoding="utf-8")
    fields = entry["Desktop Entry"]
    check(fields.get("Type") == "Application" and fields.get("Name") == "Mensora",
          f"menu entry: Type {fields.get('Type')}, Name {fields.get('Name')}")
    categories = fields.get("Categories", "").split(";")
    check("Office" in categories and "Finance" in categories, f"menu entry categories: {categories}")
    command = fields.get("Exec", "").split()[0]
    check(os.access(os.path.join(usr, "bin", command), os.X_OK),
          f"the menu entry starts \"{command}\", which is not installed in /usr/bin")
    check(fields.get("Terminal") == "false", "the menu entry opens a terminal")
    # Qt names the windows' class after the application name, which is how
    # docks and task bars match the windows to this entry.
    check(fields.get("StartupWMClass") == "Mensora",
          f"the menu entry expects windows of class \"{fields.get('StartupWMClass')}\", Qt gives them \"Mensora\"")
    if shutil.which("desktop-file-validate"):
        run("desktop-file-validate", desktop)

    icons = os.path.join(usr, "share", "icons", "hicolor")
    icon = fields.get("Icon")
    check(os.path.exists(os.path.join(icons, "scalable", "apps", icon + ".svg")),
          f"no scalable icon \"{icon}\"")
    sizes = [d for d in os.listdir(icons) if d != "scalable"]
    check({"16x16", "32x32", "48x48", "256x256"} <= set(sizes), f"icon sizes installed: {sorted(sizes)}")
    for size in sizes:
        width, height = png_size(os.path.join(icons, size, "apps", icon + ".png"))
        check(f"{width}x{height}" == size, f"the {size} icon is {width}x{height}")


def check_package(build, scratch):
    out = os.path.join(scratch, "deb")
    run("cpack", "-G", "DEB", "-B", out, "--config", os.path.join(build, "CPackConfig.cmake"), cwd=build)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    check(len(debs) == 1, f"cpack made {debs}")
    deb = os.path.join(out, debs[0])
    depends = run("dpkg-deb", "-f", deb, "Depends")
    for package in ("libqt6widgets6", "libqt6gui6", "libqt6printsupport6", "libsqlite3-0"):
        check(package in depends, f"the package does not depend on {package}: {depends}")
    contents = run("dpkg-deb", "-c", deb)
    for path in ("./usr/bin/mensora", "./usr/share/applications/mensora.desktop",
                 "./usr/share/icons/hicolor/scalable/apps/mensora.svg"):
        check(path in contents, f"{path} is not in the package")
    check("./usr/lib" not in contents and "include/" not in contents,
          "the package carries libraries or headers of the build")
    unpacked = os.path.join(scratch, "unpacked")
    run("dpkg-deb", "-x", deb, unpacked)
    bin_folder = os.path.join(unpacked, "usr", "bin")
    for program in sorted(os.listdir(bin_folder)):
        sections = run("readelf", "-S", "-W", os.path.join(bin_folder, program))
        check(".symtab" not in sections, f"/usr/bin/{program} is not stripped in the package")


def main(argv):
    build, source = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    scratch = tempfile.mkdtemp(prefix="mensora-package-")
    try:
        root = os.path.join(scratch, "root")
        env = dict(os.environ, DESTDIR=root)
        result = subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], env=env,
                                capture_output=True, text=True)
        check(result.returncode == 0, f"cmake --install failed:\n{result.stdout}{result.stderr}")
        check_installed_tree(os.path.join(root, "usr"), source)
        print("ok installed tree")
        check_package(build, scratch)
        print("ok package")
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
