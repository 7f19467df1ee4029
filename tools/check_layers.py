#!/usr/bin/env python3
"""Checks the arrangement of the code in layers, from the repository root (or the given one).

1. Every include of the repository's own files ("runtime/device/x.h" from the root, or
   "../device/x.h" beside the file, as the compiler finds them) names the file's own layer or
   one its layer lists below. Tests are not held to it: a test may drive its layer through
   those above. A source folder that belongs to no layer is an offence too, so that a new
   folder gets its place on purpose.
2. The plain C++ units (parsers, text rules, models, fuzz entries) reach no platform header
   through any chain of the repository's own includes.
3. Only the program's assembly in app (and its tests) fills a process-wide registry: no other
   unit, test or not, calls a free function named like one (Install..., Set...Hook(s),
   Add...Extensions). A piece gets what it needs passed in instead.
Prints each offence with its place; exits 1 when there is any.
"""
import os
import re
import sys

PLATFORM = ['platform/base', 'platform/vhxhid', 'platform/wingui']
# The runtime below the program's own assembly in app.
RUNTIME = ['runtime/script', 'runtime/preprocessor', 'runtime/keys', 'runtime/device',
           'runtime/functions', 'runtime/service']
MACROS = ['macros/model', 'macros']
# What every window folder may use; a window that extends another lists that one as well.
WINDOW = MACROS + RUNTIME + PLATFORM
WINDOWS = ['ui/programming_window', 'ui/layers', 'ui/plugins', 'ui/key_caps', 'ui/script_editor',
           'ui/debugger', 'ui/legend_editor', 'ui/setup_wizard']

# Each layer (a folder, with its subfolders unless they are layers themselves) and every layer
# it may include besides itself: named one by one, no prefixes.
ALLOWED = {
    'platform/base': [],
    'platform/vhxhid': ['platform/base'],
    'platform/wingui': ['platform/base'],
    'runtime/script': ['platform/base'],
    'runtime/keys': ['platform/base'],
    'runtime/preprocessor': ['runtime/script', 'platform/base'],
    # The device record holds the HID library's handle.
    'runtime/device': ['runtime/script', 'runtime/keys', 'platform/vhxhid', 'platform/base'],
    # The polled exchange and the device functions read and write reports themselves.
    'runtime/functions': ['runtime/device', 'runtime/keys', 'runtime/script',
                          'platform/vhxhid', 'platform/base'],
    'runtime/service': ['runtime/functions', 'runtime/device', 'runtime/preprocessor',
                        'runtime/keys', 'runtime/script', 'platform/vhxhid', 'platform/base'],
    'macros/model': ['runtime/keys', 'platform/base'],
    # The editor's and the recorder's windows, for a device record's macros.
    'macros': ['macros/model', 'runtime/device', 'runtime/keys', 'platform/wingui',
               'platform/base'],
    'ui/programming_window': WINDOW,
    # The layers, plug-ins, key caps and legend windows hang off the programming window: its
    # menu, its command ids, its layer choice and the features it is opened with.
    'ui/layers': WINDOW + ['ui/programming_window'],
    'ui/plugins': WINDOW + ['ui/programming_window'],
    'ui/key_caps': WINDOW + ['ui/programming_window'],
    'ui/legend_editor': WINDOW + ['ui/programming_window'],
    'ui/script_editor': WINDOW,
    # The debugger is the script editor's window with its run controls: it uses the editor's
    # window, controller and resources.
    'ui/debugger': WINDOW + ['ui/script_editor'],
    'ui/setup_wizard': WINDOW,
    'app': RUNTIME + MACROS + WINDOWS + PLATFORM,
    # The calibration program shares no code with the main program. Its class-library
    # stand-in builds its forms and pages on the thin window layer's window base, so that every
    # window of ours is found from its handle the one way.
    'calibration/vcl': ['platform/wingui', 'platform/base'],
    'calibration': ['calibration/vcl', 'platform/vhxhid', 'platform/wingui', 'platform/base'],
    'modules/qpad_calibration': PLATFORM,
    'modules/lococab': PLATFORM,
}

# Units that must build without the platform: files, and folders whose every file must.
PLAIN = [
    'platform/base/clock_time.h',
    'platform/base/file_access.cpp',
    'platform/base/input_records.h',
    'platform/base/keyboard_hook_event.h',
    'platform/base/memory_file_access.cpp',
    'platform/base/path_text.cpp',
    'platform/base/split_string.cpp',
    'platform/base/system_calls.h',
    'platform/base/text_lines.cpp',
    'platform/vhxhid/hex_bytes.cpp',
    'runtime/script/script_value_text.cpp',
    'runtime/keys/key_input_records.cpp',
    'runtime/keys/key_name_tables.cpp',
    'runtime/keys/keyboard_report_state.cpp',
    'runtime/keys/macro_tokens.cpp',
    'runtime/preprocessor/define_table.cpp',
    'runtime/preprocessor/include_loader.cpp',
    'runtime/preprocessor/preprocessor_lexer.cpp',
    'runtime/preprocessor/text_streams.cpp',
    'runtime/device/device_description.cpp',
    'runtime/device/device_folder_names.cpp',
    'runtime/device/report_config.cpp',
    'runtime/functions/calibration_max_lines.cpp',
    'runtime/functions/clip_data_file.cpp',
    'runtime/functions/date_text.cpp',
    'macros/model/',
    'macros/macro_editor_controller.cpp',
    'macros/keystroke_recorder.cpp',
    'macros/script_file_write.cpp',
    'ui/legend_editor/caption_file.cpp',
    'ui/legend_editor/caption_picture.cpp',
    'ui/legend_editor/legend_layout.cpp',
    'ui/legend_editor/legend_sheet.cpp',
    'ui/plugins/plugin_keys.cpp',
    'ui/setup_wizard/desktop_wizard.cpp',
    'ui/setup_wizard/starter_script.cpp',
    'ui/debugger/variable_view.cpp',
    'ui/layers/exe_name_table.cpp',
    'ui/layers/layer_backup.cpp',
    'ui/layers/layer_list.cpp',
    'ui/layers/program_choice.cpp',
    'ui/script_editor/compile_messages.cpp',
    'ui/script_editor/editor_layout.cpp',
    'ui/script_editor/margin_marks.cpp',
    'ui/script_editor/script_file_choice.cpp',
    'ui/script_editor/script_source.cpp',
    'app/main_dialog_controller.cpp',
    'app/tray_menu_ids.h',
    'calibration/destination_folders.cpp',
    'calibration/vcl/file_names.cpp',
    'tests/fuzz/',
]
PLATFORM_HEADERS = re.compile(
    r'^(windows|windef|winbase|winuser|wingdi|winreg|winnt|shellapi|shlobj|commdlg|commctrl|'
    r'richedit|psapi|objidl|gdiplus|windowsx|mmsystem|setupapi|hidsdi|hidpi|winioctl|'
    r'process|io|direct|tchar)\.h$', re.IGNORECASE)

SOURCE_TOPS = ('platform', 'runtime', 'macros', 'ui', 'app', 'calibration', 'modules')
EXTENSIONS = ('.cpp', '.h', '.hpp', '.c')
# Resource scripts include headers (and each other) too; they are held to the layers alike.
LAYERED_EXTENSIONS = EXTENSIONS + ('.rc',)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(folder):
    matches = [l for l in ALLOWED if folder == l or folder.startswith(l + '/')]
    return max(matches, key=len) if matches else None


def may_use(me, target):
    return target == me or target in ALLOWED[me]


def resolve(path, name):
    """The file an include in path names, as the compiler looks for it: beside path first, then
    from the root. A name found in neither place is taken as written: beside path when it
    starts with "." or is a bare file name, else from the root."""
    beside = os.path.normpath(os.path.join(os.path.dirname(path), name)).replace(os.sep, '/')
    from_root = os.path.normpath(name).replace(os.sep, '/')
    for candidate in (beside, from_root):
        if os.path.isfile(candidate):
            return candidate
    return beside if name.startswith('.') or '/' not in name else from_root


def includes(path):
    with open(path, errors='replace') as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, m.group(1) == '<', m.group(2)


def source_files(tops, extensions=EXTENSIONS):
    for top in tops:
        for folder, _, names in os.walk(top):
            for name in sorted(names):
                if name.endswith(extensions):
                    yield os.path.join(folder, name).replace(os.sep, '/')


def layer_offences():
    for path in source_files(SOURCE_TOPS, LAYERED_EXTENSIONS):
        me = layer_of(os.path.dirname(path))
        if not me:
            yield f'{path}: its folder is in no layer'
            continue
        for number, system, name in includes(path):
            if system:
                continue
            target = layer_of(os.path.dirname(resolve(path, name)))
            if target and not may_use(me, target):
                yield f'{path}:{number} includes {name} ({target} is not below {me})'


def platform_reach(path, seen):
    """The chain of includes from path to a platform header, or None."""
    if path in seen:
        return None
    seen.add(path)
    for number, system, name in includes(path):
        if system:
            if PLATFORM_HEADERS.match(os.path.basename(name)):
                return [f'{path}:{number} <{name}>']
            continue
        candidate = resolve(path, name)
        if os.path.isfile(candidate):
            chain = platform_reach(candidate, seen)
            if chain:
                return [f'{path}:{number}'] + chain
    return None


def plain_offences():
    for entry in PLAIN:
        if entry.endswith('/'):
            files = list(source_files([entry.rstrip('/')])) if os.path.isdir(entry) else []
        elif os.path.isfile(entry):
            files = [entry]
        else:
            yield f'{entry}: listed as plain C++ but missing'
            continue
        for path in files:
            header = os.path.splitext(path)[0] + '.h'
            for unit in [path] + ([header] if path.endswith('.cpp') and os.path.isfile(header) else []):
                chain = platform_reach(unit, set())
                if chain:
                    yield f'{unit} reaches the platform: ' + ' -> '.join(chain)
                    break


# A call of a free function named as a registry's filler; a member call (". ->"), a qualified
# name ("X::") and a declaration or definition (a type before the name) are not calls of one.
REGISTRY_CALL = re.compile(
    r'(?<![\w.>:])(?<!-)(Install[A-Z]\w*|Set\w*Hooks?|Add\w*Extensions)\s*\(')
DECLARATION = re.compile(r'\b(void|bool|int|auto|static|inline|extern)\s*[*&]?\s*$')
REGISTRY_FREE = ('app', 'tests/app')


def registry_offences():
    for path in source_files(SOURCE_TOPS + ('tests',)):
        if any(path == top or path.startswith(top + '/') for top in REGISTRY_FREE):
            continue
        with open(path, errors='replace') as f:
            for number, line in enumerate(f, 1):
                code = line.split('//', 1)[0]
                for m in REGISTRY_CALL.finditer(code):
                    if DECLARATION.search(code[:m.start()]):
                        continue
                    yield f'{path}:{number} fills the registry {m.group(1)}: only app/ wires the program'


def main():
    os.chdir(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
    offences = list(layer_offences()) + list(plain_offences()) + list(registry_offences())
    for offence in offences:
        print(offence)
    if not offences:
        print('layers and plain units in order')
    return 1 if offences else 0


if __name__ == '__main__':
    sys.exit(main())
