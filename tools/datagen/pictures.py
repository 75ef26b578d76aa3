"""Writers for pictures with no metadata, so every run gives the same bytes."""
import numpy as np
from PIL import Image

JPEG_QUALITY = 94


def to_image(rgb):
    return Image.fromarray(np.clip(np.rint(rgb), 0, 255).astype(np.uint8))


def save_jpeg(rgb, path):
    """Baseline JPEG, full-resolution chroma so coloured edges stay clean."""
    image = rgb if isinstance(rgb, Image.Image) else to_image(rgb)
    image.save(path, "JPEG", quality=JPEG_QUALITY, subsampling=0, optimize=False,
               progressive=False)


def save_png(image, path):
    image.save(path, "PNG", optimize=False)
