#include "cddrives.h"

#include <cdio/cdio.h>

QStringList enumerateCdDrives() {
    QStringList drives;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return drives;
    for (char** d = devices; *d; ++d)
        drives.append(QString::fromLocal8Bit(*d));
    cdio_free_device_list(devices);
    return drives;
}
