// Media decoding through libavformat, libavcodec, libswresample and libswscale.
#include "platform/media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr int kOutRate = 22050;

struct Decoder {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int stream = -1;
  bool demuxEnded = false;   // no more packets
  bool decoderEnded = false;  // decoder drained
};

void CloseDecoder(Decoder& d) {
  if (d.frame) av_frame_free(&d.frame);
  if (d.packet) av_packet_free(&d.packet);
  if (d.codec) avcodec_free_context(&d.codec);
  if (d.format) avformat_close_input(&d.format);
  d.stream = -1;
}

// Opens the file and the best stream of the given type. With required false
// a file without such a stream still opens (stream stays -1).
bool OpenDecoder(Decoder& d, const char* path, AVMediaType type, bool required) {
  static const bool quiet = [] {
    av_log_set_level(AV_LOG_ERROR);
    return true;
  }();
  (void)quiet;
  if (!path || avformat_open_input(&d.format, path, nullptr, nullptr) < 0) return false;
  if (avformat_find_stream_info(d.format, nullptr) < 0) {
    CloseDecoder(d);
    return false;
  }
  const AVCodec* codec = nullptr;
  int s = av_find_best_stream(d.format, type, -1, -1, &codec, 0);
  if (s >= 0 && codec) {
    d.codec = avcodec_alloc_context3(codec);
    if (d.codec && avcodec_parameters_to_context(d.codec, d.format->streams[s]->codecpar) >= 0 &&
        avcodec_open2(d.codec, codec, nullptr) >= 0) {
      d.stream = s;
    } else if (d.codec) {
      avcodec_free_context(&d.codec);
    }
  }
  d.packet = av_packet_alloc();
  d.frame = av_frame_alloc();
  if (!d.packet || !d.frame || (required && d.stream < 0)) {
    CloseDecoder(d);
    return false;
  }
  return true;
}

double LengthMs(const Decoder& d) {
  if (d.format && d.format->duration != AV_NOPTS_VALUE && d.format->duration > 0)
    return d.format->duration / 1000.0;
  if (d.stream >= 0) {
    AVStream* st = d.format->streams[d.stream];
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
      return st->duration * av_q2d(st->time_base) * 1000.0;
  }
  return 0;
}

bool RewindDecoder(Decoder& d) {
  if (!d.format) return false;
  int r = av_seek_frame(d.format, -1, d.format->start_time != AV_NOPTS_VALUE ? d.format->start_time : 0,
                        AVSEEK_FLAG_BACKWARD);
  if (r < 0) r = avformat_seek_file(d.format, -1, INT64_MIN, 0, INT64_MAX, 0);
  if (d.codec) avcodec_flush_buffers(d.codec);
  d.demuxEnded = false;
  d.decoderEnded = false;
  return r >= 0;
}

// Next decoded frame of the stream into d.frame; false when drained.
bool DecodeNext(Decoder& d) {
  if (d.stream < 0) return false;
  while (!d.decoderEnded) {
    int r = avcodec_receive_frame(d.codec, d.frame);
    if (r >= 0) return true;
    if (r == AVERROR_EOF) {
      d.decoderEnded = true;
      break;
    }
    if (r != AVERROR(EAGAIN)) {
      d.decoderEnded = true;
      break;
    }
    if (d.demuxEnded) {
      avcodec_send_packet(d.codec, nullptr);
      continue;
    }
    if (av_read_frame(d.format, d.packet) < 0) {
      d.demuxEnded = true;
      avcodec_send_packet(d.codec, nullptr);
      continue;
    }
    if (d.packet->stream_index == d.stream) avcodec_send_packet(d.codec, d.packet);
    av_packet_unref(d.packet);
  }
  return false;
}

}  // namespace

struct MediaAudio {
  Decoder dec;
  SwrContext* swr = nullptr;
  std::vector<int16_t> pending;  // converted frames not yet handed out
  size_t pendingAt = 0;          // samples already handed out
  bool flushed = false;
};

MediaAudio* MediaAudioOpen(const char* path) {
  auto* a = new MediaAudio;
  if (!OpenDecoder(a->dec, path, AVMEDIA_TYPE_AUDIO, true)) {
    delete a;
    return nullptr;
  }
  return a;
}

void MediaAudioClose(MediaAudio* audio) {
  if (!audio) return;
  if (audio->swr) swr_free(&audio->swr);
  CloseDecoder(audio->dec);
  delete audio;
}

double MediaAudioLengthMs(MediaAudio* audio) { return audio ? LengthMs(audio->dec) : 0; }

bool MediaAudioRewind(MediaAudio* audio) {
  if (!audio) return false;
  if (audio->swr) swr_free(&audio->swr);
  audio->pending.clear();
  audio->pendingAt = 0;
  audio->flushed = false;
  return RewindDecoder(audio->dec);
}

namespace {

bool EnsureResampler(MediaAudio* a, const AVFrame* f) {
  if (a->swr) return true;
  AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
  AVChannelLayout in;
  if (f->ch_layout.nb_channels > 0 && f->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
    if (av_channel_layout_copy(&in, &f->ch_layout) < 0) return false;
  } else {
    av_channel_layout_default(&in, f->ch_layout.nb_channels > 0 ? f->ch_layout.nb_channels : 1);
  }
  int r = swr_alloc_set_opts2(&a->swr, &out, AV_SAMPLE_FMT_S16, kOutRate, &in,
                              static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  if (r < 0 || swr_init(a->swr) < 0) {
    if (a->swr) swr_free(&a->swr);
    return false;
  }
  return true;
}

// Appends converted frames; in null flushes the resampler.
void Convert(MediaAudio* a, const AVFrame* f) {
  int inCount = f ? f->nb_samples : 0;
  int cap = swr_get_out_samples(a->swr, inCount);
  if (cap <= 0) return;
  size_t base = a->pending.size();
  a->pending.resize(base + static_cast<size_t>(cap) * 2);
  uint8_t* outPtr = reinterpret_cast<uint8_t*>(a->pending.data() + base);
  int got = swr_convert(a->swr, &outPtr, cap, f ? const_cast<const uint8_t**>(f->extended_data) : nullptr,
                        inCount);
  a->pending.resize(base + static_cast<size_t>(std::max(got, 0)) * 2);
}

}  // namespace

int MediaAudioRead(MediaAudio* audio, int16_t* out, int frames) {
  if (!audio || frames <= 0) return 0;
  int written = 0;
  while (written < frames) {
    size_t avail = (audio->pending.size() - audio->pendingAt) / 2;
    if (avail > 0) {
      size_t n = std::min(avail, static_cast<size_t>(frames - written));
      std::memcpy(out + written * 2, audio->pending.data() + audio->pendingAt, n * 4);
      audio->pendingAt += n * 2;
      written += static_cast<int>(n);
      continue;
    }
    audio->pending.clear();
    audio->pendingAt = 0;
    if (DecodeNext(audio->dec)) {
      if (EnsureResampler(audio, audio->dec.frame)) Convert(audio, audio->dec.frame);
      av_frame_unref(audio->dec.frame);
      continue;
    }
    if (audio->swr && !audio->flushed) {
      audio->flushed = true;
      Convert(audio, nullptr);
      continue;
    }
    break;
  }
  return written;
}

struct MediaVideo {
  Decoder dec;
  SwsContext* sws = nullptr;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

MediaVideo* MediaVideoOpen(const char* path) {
  auto* v = new MediaVideo;
  if (!OpenDecoder(v->dec, path, AVMEDIA_TYPE_VIDEO, false)) {
    delete v;
    return nullptr;
  }
  if (v->dec.stream >= 0 && v->dec.codec->width > 0 && v->dec.codec->height > 0) {
    v->width = v->dec.codec->width;
    v->height = v->dec.codec->height;
    v->rgba.resize(static_cast<size_t>(v->width) * v->height * 4);
  }
  return v;
}

void MediaVideoClose(MediaVideo* video) {
  if (!video) return;
  if (video->sws) sws_freeContext(video->sws);
  CloseDecoder(video->dec);
  delete video;
}

void MediaVideoSize(MediaVideo* video, int* width, int* height) {
  *width = video ? video->width : 0;
  *height = video ? video->height : 0;
}

double MediaVideoStartMs(MediaVideo* video) {
  if (!video || !video->dec.format || video->dec.format->start_time == AV_NOPTS_VALUE) return 0;
  return std::max(0.0, video->dec.format->start_time / 1000.0);
}

double MediaVideoLengthMs(MediaVideo* video) { return video ? LengthMs(video->dec) : 0; }

bool MediaVideoRewind(MediaVideo* video) { return video && RewindDecoder(video->dec); }

bool MediaVideoNextFrame(MediaVideo* video, const uint8_t** rgba, double* timeMs) {
  if (!video || video->width <= 0) return false;
  Decoder& d = video->dec;
  while (DecodeNext(d)) {
    AVFrame* f = d.frame;
    if (f->width != video->width || f->height != video->height) {
      av_frame_unref(f);
      continue;
    }
    video->sws = sws_getCachedContext(video->sws, f->width, f->height,
                                      static_cast<AVPixelFormat>(f->format), video->width,
                                      video->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr,
                                      nullptr, nullptr);
    if (!video->sws) {
      av_frame_unref(f);
      return false;
    }
    uint8_t* dst[4] = {video->rgba.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {video->width * 4, 0, 0, 0};
    sws_scale(video->sws, f->data, f->linesize, 0, f->height, dst, dstStride);
    int64_t pts = f->best_effort_timestamp;
    AVStream* st = d.format->streams[d.stream];
    double t = pts == AV_NOPTS_VALUE ? 0 : pts * av_q2d(st->time_base) * 1000.0;
    av_frame_unref(f);
    *rgba = video->rgba.data();
    *timeMs = t;
    return true;
  }
  return false;
}

}  // namespace platform
