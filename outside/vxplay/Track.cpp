#include "outside/vxplay/Track.h"

#include <cstring>

namespace vxplay {

std::shared_ptr<const Track> Track::fromDescription(const vxstream_track& d)
{
    if (d.time_base_num <= 0 || d.time_base_den <= 0)
        return nullptr;
    if (d.media_type != VXSTREAM_MEDIA_VIDEO && d.media_type != VXSTREAM_MEDIA_AUDIO)
        return nullptr;
    if (d.extradata_size < 0 || (d.extradata_size > 0 && !d.extradata) || d.extradata_size > (1 << 20))
        return nullptr;
    auto t = std::make_shared<Track>();
    t->desc = d;
    if (d.extradata_size > 0)
        t->extradata.assign(d.extradata, d.extradata + d.extradata_size);
    t->desc.extradata = nullptr;
    return t;
}

int Track::toParameters(AVCodecParameters* par) const
{
    par->codec_type = isVideo() ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    par->codec_id = AVCodecID(desc.codec_id);
    par->bit_rate = desc.bit_rate;
    if (isVideo()) {
        par->width = desc.width;
        par->height = desc.height;
    } else {
        par->sample_rate = desc.sample_rate;
        av_channel_layout_uninit(&par->ch_layout);
        av_channel_layout_default(&par->ch_layout, desc.channels > 0 ? desc.channels : 1);
        par->bits_per_coded_sample = desc.bits_per_coded_sample;
        par->block_align = desc.block_align;
    }
    av_freep(&par->extradata);
    par->extradata_size = 0;
    if (!extradata.empty()) {
        par->extradata = static_cast<uint8_t*>(av_mallocz(extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!par->extradata)
            return AVERROR(ENOMEM);
        memcpy(par->extradata, extradata.data(), extradata.size());
        par->extradata_size = int(extradata.size());
    }
    return 0;
}

std::shared_ptr<StreamPacket> StreamPacket::clone() const
{
    auto c = std::make_shared<StreamPacket>();
    c->pkt = vxwrap::refPacket(pkt.get());
    c->track = track;
    c->timeUs = timeUs;
    c->key = key;
    return c;
}

}  // namespace vxplay
