#!/usr/bin/env python3
"""The layer rules of tools/check_layers.py over small trees of its own: which includes it
refuses, how it finds the file an include names, and that every layer it names exists."""
import importlib.util
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SPEC = importlib.util.spec_from_file_location(
    'check_layers', os.path.join(HERE, '..', '..', 'tools', 'check_layers.py'))
check_layers = importlib.util.module_from_spec(SPEC)
SPEC.loader.exec_module(check_layers)


def offences_in(files, rule=None):
    """The layer offences (or another rule's) of a tree holding files (path: text), as the
    tree's root sees them."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w') as f:
                f.write(text)
        cwd = os.getcwd()
        os.chdir(root)
        try:
            return list((rule or check_layers.layer_offences)())
        finally:
            os.chdir(cwd)


def include(name):
    return f'#include "{name}"\n'


class LayerRules(unittest.TestCase):
    def test_includes_by_layer(self):
        # (what, including file, include as written, refused)
        cases = [
            ('service up to the app', 'runtime/service/s.cpp', 'app/main_window.h', True),
            ('macros up to the app', 'macros/m.cpp', 'app/main_window.h', True),
            ('macro model up to the macro windows', 'macros/model/m.cpp', 'macros/m.h', True),
            ('a window up to the app', 'ui/layers/l.cpp', 'app/main_window.h', True),
            ('a window into one it does not extend', 'ui/layers/l.cpp',
             'ui/script_editor/script_editor.h', True),
            ('the programming window into one of its extensions', 'ui/programming_window/p.cpp',
             'ui/layers/layer_menus.h', True),
            ('the script editor into the debugger', 'ui/script_editor/e.cpp',
             'ui/debugger/run_control.h', True),
            ('device up to the functions', 'runtime/device/d.cpp',
             'runtime/functions/device_functions.h', True),
            ('device into the preprocessor', 'runtime/device/d.cpp',
             'runtime/preprocessor/script_preprocessor.h', True),
            ('the service into the windows layer', 'runtime/service/s.cpp',
             'platform/wingui/window.h', True),
            ('calibration into the main program', 'calibration/c.cpp', 'runtime/device/d.h', True),
            ('the calibration stand-in up to its program', 'calibration/vcl/f.cpp',
             'calibration/wizard.h', True),
            ('the calibration stand-in into the HID library', 'calibration/vcl/f.cpp',
             'platform/vhxhid/vhxhid.h', True),
            ('a library into the runtime', 'modules/lococab/l.cpp', 'runtime/script/s.h', True),
            ('own layer', 'runtime/device/d.cpp', 'runtime/device/device_record.h', False),
            ('a layer below', 'runtime/functions/f.cpp', 'runtime/device/device_record.h', False),
            ('a window into the one it extends', 'ui/key_caps/k.cpp',
             'ui/programming_window/programming_window.h', False),
            ('the debugger into the script editor', 'ui/debugger/d.cpp',
             'ui/script_editor/script_editor_window.h', False),
            ('a window into the service', 'ui/script_editor/e.cpp',
             'runtime/service/device_module_build.h', False),
            # Its forms and pages are windows of the window layer's base.
            ('the calibration stand-in into the window layer', 'calibration/vcl/form.h',
             'platform/wingui/window.h', False),
            ('the app into a window', 'app/a.cpp', 'ui/layers/layer_menus.h', False),
            ('a subfolder of the app into the app', 'app/dialogs/d.cpp',
             'app/main_window.h', False),
            ('a resource script into its own ids', 'ui/key_caps/key_caps.rc',
             'ui/key_caps/key_caps_ids.h', False),
            ('the app resources into a window', 'app/orvane.rc',
             'ui/key_caps/key_caps.rc', False),
        ]
        for what, path, name, refused in cases:
            with self.subTest(what):
                found = offences_in({path: '\n' + include(name)})
                self.assertEqual(found, [f'{path}:2 includes {name} '
                                         f'({check_layers.layer_of(os.path.dirname(name))} '
                                         f'is not below '
                                         f'{check_layers.layer_of(os.path.dirname(path))})']
                                 if refused else [])

    def test_includes_beside_the_file_are_followed(self):
        # (including file, include as written, the file it names when it exists, refused)
        cases = [
            ('runtime/service/s.cpp', '../../app/main_window.h', 'app/main_window.h', True),
            ('ui/layers/l.cpp', '../script_editor/e.h', 'ui/script_editor/e.h', True),
            ('runtime/device/d.cpp', './../service/s.h', 'runtime/service/s.h', True),
            ('ui/debugger/d.cpp', '../script_editor/e.h', 'ui/script_editor/e.h', False),
            ('app/dialogs/d.cpp', '../main_window.h', 'app/main_window.h', False),
            # A name with a folder is found beside the file before it is taken from the root.
            ('app/a.cpp', 'dialogs/d.h', 'app/dialogs/d.h', False),
            ('runtime/service/s.cpp', 'sub/x.h', 'runtime/service/sub/x.h', False),
        ]
        for path, name, target, refused in cases:
            for exists in (True, False):
                with self.subTest(path=path, name=name, exists=exists):
                    files = {path: include(name)}
                    if exists:
                        files[target] = ''
                    found = [o for o in offences_in(files) if o.startswith(path)]
                    self.assertEqual(len(found), 1 if refused else 0, found)

    def test_a_folder_in_no_layer_is_refused(self):
        self.assertCountEqual(offences_in({'ui/new_window/w.cpp': '', 'runtime/x.h': ''}),
                         ['ui/new_window/w.cpp: its folder is in no layer',
                          'runtime/x.h: its folder is in no layer'])

    def test_system_includes_and_other_files_are_not_judged(self):
        self.assertEqual(offences_in({
            'runtime/keys/k.cpp': '#include <app/main_window.h>\n#include <windows.h>\n',
            'runtime/keys/k.txt': include('app/main_window.h'),
        }), [])


class RegistryRule(unittest.TestCase):
    def test_registry_fillers_outside_the_app(self):
        # (what, file, line, refused)
        cases = [
            ('a window fills a hook table', 'ui/layers/l.cpp', '  SetMacroModelHooks(hooks);', True),
            ('a macro unit installs a piece', 'macros/m.cpp', 'void F() { InstallKeystrokeRecorder(); }', True),
            ('a test adds extensions', 'tests/ui/t.cpp', '  AddProgrammingExtensions(x);', True),
            ('one hook set', 'ui/script_editor/e.cpp', 'SetScriptProgrammingHook(open);', True),
            ('the app wires the program', 'app/wiring.cpp', '  SetMacroModelHooks(hooks);', False),
            ('its tests may too', 'tests/app/w.cpp', '  InstallProgramHooks();', False),
            ('a declaration', 'ui/layers/l.h', 'void InstallProgramLayers();', False),
            ('a definition', 'ui/layers/l.cpp', 'void InstallProgramLayers() {', False),
            ('a member call', 'ui/e.cpp', '  controller.SetOpenProgrammingHook(f);', False),
            ('a member through a pointer', 'macros/r.cpp', '  calls->SetKeyboardHook(h);', False),
            ('a qualified member', 'platform/base/s.cpp', 'void* SystemCalls::SetKeyboardHook(H h) {', False),
            ('the system\'s own hook', 'macros/r.cpp', '  SetWindowsHookExA(WH_KEYBOARD_LL, p, 0, 0);', False),
            ('a comment', 'ui/layers/l.cpp', '  // no SetMacroModelHooks(hooks) here', False),
        ]
        for what, path, line, refused in cases:
            with self.subTest(what):
                found = offences_in({path: line + '\n'}, check_layers.registry_offences)
                self.assertEqual(len(found), 1 if refused else 0, found)


class TheLists(unittest.TestCase):
    def test_every_layer_named_is_a_layer_and_none_lists_itself(self):
        for layer, below in check_layers.ALLOWED.items():
            with self.subTest(layer):
                self.assertEqual([b for b in below if b not in check_layers.ALLOWED], [])
                self.assertNotIn(layer, below)
                self.assertEqual(len(below), len(set(below)))

    def test_no_layer_reaches_itself_through_those_below(self):
        def below(layer, seen):
            for b in check_layers.ALLOWED[layer]:
                if b not in seen:
                    seen.add(b)
                    below(b, seen)
            return seen
        for layer in check_layers.ALLOWED:
            with self.subTest(layer):
                self.assertNotIn(layer, below(layer, set()))


if __name__ == '__main__':
    unittest.main()
