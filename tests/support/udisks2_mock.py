'''A disk service for tests: the udisks2 objects, properties and methods
the card tools use, on the bus given as the system bus.

Parameters: "cards", the path of a JSON file holding a list of volumes:
{"name": "sdb1", "label": "LOJA 12", "uuid": "5E6F-7A8B", "type": "vfat",
 "mountPoint": "/media/u/LOJA 12" or "", "readOnly": false,
 "removable": true, "system": false, "busy": false,
 "mountTo": "/where/Mount/puts/it"}
Mock method AddCard(json) inserts one volume while running; RemoveCard(name)
takes it away. Method calls go to the mock's log (-l).
'''

import json

import dbus

from dbusmock import MOCK_IFACE, mockobject

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

BLOCK = 'org.freedesktop.UDisks2.Block'
FILESYSTEM = 'org.freedesktop.UDisks2.Filesystem'
DRIVE = 'org.freedesktop.UDisks2.Drive'


def nul_terminated(text):
    return dbus.ByteArray(text.encode() + b'\0')


def mount_points(path):
    return dbus.Array([nul_terminated(path)] if path else [], signature='ay')


def block_path(name):
    return MAIN_OBJ + '/block_devices/' + name


def drive_path(name):
    return MAIN_OBJ + '/drives/' + name + '_drive'


UNMOUNT = '''
if not self.props["%(fs)s"]["MountPoints"]:
    raise dbus.exceptions.DBusException("Not mounted", name="org.freedesktop.UDisks2.Error.NotMounted")
if %(busy)s:
    raise dbus.exceptions.DBusException("Error unmounting %(device)s: target is busy",
                                        name="org.freedesktop.UDisks2.Error.DeviceBusy")
self.UpdateProperties("%(fs)s", {"MountPoints": dbus.Array([], signature="ay")})
'''

MOUNT = '''
self.UpdateProperties("%(fs)s", {"MountPoints": dbus.Array([dbus.ByteArray(%(to)r.encode() + b"\\0")], signature="ay")})
ret = %(to)r
'''


def add_card(mock, card):
    name = card['name']
    device = '/dev/' + name
    drive = drive_path(name)
    removable = card.get('removable', True)
    mock.AddObject(drive, DRIVE, {
        'Removable': dbus.Boolean(removable),
        'MediaRemovable': dbus.Boolean(removable),
        'Ejectable': dbus.Boolean(removable),
        'Model': dbus.String('Card Reader' if removable else 'System Disk'),
    }, [])
    path = block_path(name)
    mock.AddObject(path, BLOCK, {
        'Device': nul_terminated(device),
        'PreferredDevice': nul_terminated(device),
        'IdLabel': dbus.String(card.get('label', '')),
        'IdUUID': dbus.String(card.get('uuid', '')),
        'IdType': dbus.String(card.get('type', 'vfat')),
        'IdUsage': dbus.String('filesystem'),
        'ReadOnly': dbus.Boolean(card.get('readOnly', False)),
        'Drive': dbus.ObjectPath(drive),
        'HintSystem': dbus.Boolean(card.get('system', False)),
        'HintIgnore': dbus.Boolean(False),
    }, [])
    block = mockobject.objects[path]
    block.AddProperties(FILESYSTEM, {'MountPoints': mount_points(card.get('mountPoint', ''))})
    words = {'fs': FILESYSTEM, 'busy': bool(card.get('busy', False)), 'device': device,
             'to': card.get('mountTo', '/media/mock/' + name)}
    block.AddMethods(FILESYSTEM, [
        ('Mount', 'a{sv}', 's', MOUNT % words),
        ('Unmount', 'a{sv}', '', UNMOUNT % words),
    ])
    mock.object_manager_emit_added(drive)
    mock.object_manager_emit_added(path)


def load(mock, parameters):
    mock.AddProperties('org.freedesktop.UDisks2.Manager', {'Version': dbus.String('2.9.4')})
    if 'cards' in parameters:
        with open(parameters['cards'], encoding='utf-8') as listing:
            for card in json.load(listing):
                add_card(mock, card)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def AddCard(self, description):
    add_card(self, json.loads(description))


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def RemoveCard(self, name):
    for path in (block_path(name), drive_path(name)):
        self.object_manager_emit_removed(path)
        self.RemoveObject(path)
