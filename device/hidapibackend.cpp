#include "hidbackend.h"

#include <hidapi.h>

namespace {

hid_device* dev(HidHandle* h)
{
    return reinterpret_cast<hid_device*>(h);
}

class HidapiBackend : public HidBackend {
public:
    HidapiBackend() { hid_init(); }
    ~HidapiBackend() override { hid_exit(); }

    QList<HidInterfaceInfo> enumerate(uint16_t vid, uint16_t pid) override
    {
        QList<HidInterfaceInfo> list;
        hid_device_info* all = hid_enumerate(vid, pid);
        for (hid_device_info* i = all; i; i = i->next)
            list.append(
                {QByteArray(i->path), i->vendor_id, i->product_id, i->usage_page, i->usage});
        hid_free_enumeration(all);
        return list;
    }
    HidHandle* openPath(const QByteArray& path) override
    {
        return reinterpret_cast<HidHandle*>(hid_open_path(path.constData()));
    }
    int setNonblocking(HidHandle* h, int nonblock) override
    {
        return hid_set_nonblocking(dev(h), nonblock);
    }
    int sendFeatureReport(HidHandle* h, const uint8_t* data, size_t length) override
    {
        return hid_send_feature_report(dev(h), data, length);
    }
    int getFeatureReport(HidHandle* h, uint8_t* data, size_t length) override
    {
        return hid_get_feature_report(dev(h), data, length);
    }
    int write(HidHandle* h, const uint8_t* data, size_t length) override
    {
        return hid_write(dev(h), data, length);
    }
    int read(HidHandle* h, uint8_t* data, size_t length) override
    {
        return hid_read(dev(h), data, length);
    }
    int readTimeout(HidHandle* h, uint8_t* data, size_t length, int ms) override
    {
        return hid_read_timeout(dev(h), data, length, ms);
    }
    void close(HidHandle* h) override { hid_close(dev(h)); }
};

} // namespace

std::unique_ptr<HidBackend> createHidapiBackend()
{
    return std::make_unique<HidapiBackend>();
}
