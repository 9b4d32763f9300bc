// The page as an installable one that plays offline: it registers the site's service worker
// (starvane-sw.js, which keeps every file of this version for the next visits).
'use strict';

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('starvane-sw.js')
      .catch((error) => console.info('no offline play: ' + error));  // file://, an unsafe address
}
